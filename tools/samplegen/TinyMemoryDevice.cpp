#include "samplegen/TinyMemoryDevice.h"

#include <cstring>

TinyMemoryDevice::~TinyMemoryDevice() { Detach(); }

void TinyMemoryDevice::Attach()
{
    m_device = TinyBlockDevice{&TinyMemoryDevice::ReadBlock, &TinyMemoryDevice::WriteBlock, this};
    TinySetBlockDevice(&m_device);
    m_attached = true;
}

void TinyMemoryDevice::Detach()
{
    if (m_attached) {
        TinySetBlockDevice(nullptr);
        m_attached = false;
    }
}

void TinyMemoryDevice::ResetCounters()
{
    reads = writes = 0;
    readBlocks.clear();
    writeBlocks.clear();
}

int TinyMemoryDevice::ReadBlock(void* context, uint8_t, uint32_t block, uint8_t* buffer)
{
    auto* self = static_cast<TinyMemoryDevice*>(context);
    ++self->reads;
    if (self->logBlocks)
        self->readBlocks.push_back(block);
    if (self->failAll || self->reads == self->failReadAt)
        return -1;
    const uint64_t offset = uint64_t{block} * TINY_BLOCK_SIZE;
    if (offset + TINY_BLOCK_SIZE > self->m_image.size())
        return -1;
    std::memcpy(buffer, self->m_image.data() + offset, TINY_BLOCK_SIZE);
    return 0;
}

int TinyMemoryDevice::WriteBlock(void* context, uint8_t, uint32_t block, const uint8_t* buffer)
{
    auto* self = static_cast<TinyMemoryDevice*>(context);
    ++self->writes;
    if (self->logBlocks)
        self->writeBlocks.push_back(block);
    if (self->failAll || self->writes == self->failWriteAt)
        return -1;
    const uint64_t offset = uint64_t{block} * TINY_BLOCK_SIZE;
    if (offset + TINY_BLOCK_SIZE > self->m_image.size())
        return -1;
    std::memcpy(self->m_image.data() + offset, buffer, TINY_BLOCK_SIZE);
    return 0;
}
