#include "samplegen/TinyVolumeBuilder.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "storage/tinyfs.h"

namespace {

uint8_t* BlockAt(std::vector<uint8_t>& image, uint32_t block) { return image.data() + size_t{block} * TINY_BLOCK_SIZE; }

}  // namespace

void TinySetImageBit(std::vector<uint8_t>& image, uint32_t bitmapStart, uint16_t bit, bool set)
{
    const size_t at = (size_t{bitmapStart} + bit / TINY_BITS_PER_BLOCK) * TINY_BLOCK_SIZE + (bit / 8u) % TINY_BLOCK_SIZE;
    if (at >= image.size())
        throw std::out_of_range("bitmap bit outside the image");
    const uint8_t mask = static_cast<uint8_t>(1u << (bit % 8u));
    image[at] = set ? static_cast<uint8_t>(image[at] | mask) : static_cast<uint8_t>(image[at] & ~mask);
}

TinyVolumeBuilder::TinyVolumeBuilder(uint16_t clusterKiB, uint16_t fileSlots, uint16_t clusters)
    : m_clusterKiB(clusterKiB), m_fileSlots(fileSlots), m_clusters(clusters)
{
}

TinyVolumeBuilder& TinyVolumeBuilder::AddFile(uint16_t number, std::vector<uint8_t> data, uint8_t attributes,
                                              uint16_t date, uint16_t time)
{
    if (number >= m_fileSlots)
        throw std::invalid_argument("file number beyond the file slots");
    if (data.size() > size_t{TINY_CLUSTERS_PER_FILE} * m_clusterKiB * 1024)
        throw std::invalid_argument("file larger than four clusters");
    m_files[number] = TinyBuildFile{std::move(data), attributes, date, time};
    return *this;
}

TinyVolumeBuilder& TinyVolumeBuilder::SetExtraDataBlocks(uint32_t blocks)
{
    m_extraDataBlocks = blocks;
    return *this;
}

uint32_t TinyVolumeBuilder::ClusterBitmapBlocks() const
{
    const uint32_t blocks = (uint32_t{m_clusters} + TINY_BITS_PER_BLOCK - 1) / TINY_BITS_PER_BLOCK;
    return blocks == 0 ? 1 : blocks;
}

uint32_t TinyVolumeBuilder::RecordStart() const { return TINY_CLUSTER_BITMAP_BLOCK + ClusterBitmapBlocks(); }

std::vector<uint8_t> TinyVolumeBuilder::Build() const
{
    std::vector<uint8_t> image(size_t{TotalBlocks()} * TINY_BLOCK_SIZE, 0);
    uint8_t* header = BlockAt(image, 0);
    std::memcpy(header + TINY_HDR_MAGIC, TINY_MAGIC, sizeof TINY_MAGIC);
    header[TINY_HDR_VERSION] = TINY_VERSION;
    PutBE16(header + TINY_HDR_CLUSTER_KIB, m_clusterKiB);
    PutBE16(header + TINY_HDR_FILE_SLOTS, m_fileSlots);
    // The first leading area runs to the end of the file bitmap; the second
    // is the cluster bitmap.
    PutBE32(header + TINY_HDR_AREA1_BLOCKS, TINY_CLUSTER_BITMAP_BLOCK);
    PutBE32(header + TINY_HDR_AREA2_BLOCKS, ClusterBitmapBlocks());
    PutBE32(header + TINY_HDR_RECORD_BLOCKS, RecordBlocks());
    PutBE32(header + TINY_HDR_DATA_BLOCKS, DataBlocks());

    const size_t clusterBytes = size_t{m_clusterKiB} * 1024;
    uint32_t nextCluster = 1;
    for (const auto& [number, file] : m_files) {
        TinySetImageBit(image, TINY_FILE_BITMAP_BLOCK, number);
        uint8_t* record = BlockAt(image, RecordBlock(number));
        record[TINY_REC_ATTRIBUTES] = file.attributes;
        PutBE16(record + TINY_REC_DATE, file.date);
        PutBE16(record + TINY_REC_TIME, file.time);
        PutBE32(record + TINY_REC_SIZE, static_cast<uint32_t>(file.data.size()));
        for (size_t part = 0; part * clusterBytes < file.data.size(); ++part) {
            if (nextCluster >= m_clusters)
                throw std::length_error("volume has too few clusters for its files");
            const uint16_t cluster = static_cast<uint16_t>(nextCluster++);
            PutBE16(record + TINY_REC_CLUSTERS + 2 * part, cluster);
            TinySetImageBit(image, TINY_CLUSTER_BITMAP_BLOCK, cluster);
            const size_t begin = part * clusterBytes;
            const size_t count = std::min(clusterBytes, file.data.size() - begin);
            std::memcpy(BlockAt(image, ClusterBlock(cluster)), file.data.data() + begin, count);
        }
    }
    return image;
}

bool TinyVolumeBuilder::WriteFile(const std::string& path) const
{
    const std::vector<uint8_t> image = Build();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    return static_cast<bool>(out);
}
