// The image file layer and the volume object; the file itself is the
// system's (ImageFile.h).
#include "storage/TinyImage.h"
#include "platform/ByteOrder.h"

#include "storage/ImageFile.h"
#include "storage/tinyfs.h"

namespace {

// The engine's tables: one volume, one handle, one work buffer.
TinyVolumeEntry g_volumeTable[1];
TinyHandleEntry g_handleTable[1];
uint8_t g_workBuffer[TINY_WORK_BUFFER_SIZE];

bool g_started = false;
uint64_t g_blockReads = 0;
const TinyBlockDevice* g_device = nullptr;

// Mount failure texts; internal, never shown to the user.
constexpr const char* kTextNotFound = "The mount file %s It isn't found out.";
constexpr const char* kTextReadOnly = "The mount file %s It is read only.";
constexpr const char* kTextCannotOpen = "The mount file %s can not be opened.";
constexpr const char* kTextOtherMount = "\r\nThere is possibility that other VOLMOUNT mounts.";
constexpr const char* kTextMountFailed = "It failed in the mount.";
constexpr const char* kTextNoProperties = "The property with TFS volume can not be acquired.";

std::string WithPath(const char* text, const std::string& path)
{
    std::string out(text);
    const size_t at = out.find("%s");
    if (at != std::string::npos)
        out.replace(at, 2, path);
    return out;
}

void UnmountVolume(int volume)
{
    if (TinyUnmount(static_cast<uint32_t>(volume), 0) < 0)
        TinyUnmount(static_cast<uint32_t>(volume), 1);
}

// A text of up to 8 UTF-16 little-endian characters, ending at the first zero.
std::u16string TextFromBytes(const uint8_t* bytes)
{
    return ReadUtf16LE(bytes, 8);
}

void TrimRight(std::u16string& text)
{
    while (!text.empty()) {
        const char16_t c = text.back();
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n' && c != u'\v' && c != u'\f')
            break;
        text.pop_back();
    }
}

}  // namespace

void TinySetBlockDevice(const TinyBlockDevice* device) { g_device = device; }

int TinyReadBlock(uint8_t device, uint32_t block, uint8_t* buffer)
{
    if (g_device)
        return g_device->read(g_device->context, device, block, buffer);
    if (!buffer || !ImageFileIsOpen())
        return -1;
    ++g_blockReads;
    return ImageFileRead(uint64_t{block} * TINY_BLOCK_SIZE, buffer, TINY_BLOCK_SIZE) ? 0 : -1;
}

int TinyWriteBlock(uint8_t device, uint32_t block, const uint8_t* buffer)
{
    if (g_device)
        return g_device->write(g_device->context, device, block, buffer);
    if (!buffer)
        return -1;
    return ImageFileWrite(uint64_t{block} * TINY_BLOCK_SIZE, buffer, TINY_BLOCK_SIZE) ? 0 : -1;
}

bool TinyStartup()
{
    ImageFileClose();
    const TinyConfig config{1, 1, 0, 0, g_volumeTable, g_handleTable, g_workBuffer};
    if (TinyInit(&config) < 0 || TinySetOption("NO_FAT_WRAPPING") < 0)
        return false;
    g_started = true;
    return true;
}

void TinyShutdown()
{
    if (!g_started)
        return;
    if (ImageFileIsOpen()) {
        UnmountVolume(0);
        ImageFileClose();
    }
    if (TinyTerm(0) < 0)
        TinyTerm(1);
    g_started = false;
}

bool TinyImageIsOpen() { return ImageFileIsOpen(); }

uint64_t TinyImageBlockReads() { return g_blockReads; }

bool TinyOpenImage(const std::string& path, int* volume, int* osError)
{
    int ignoredError = 0;
    if (!osError)
        osError = &ignoredError;
    *osError = 0;
    if (ImageFileIsOpen()) {
        UnmountVolume(0);
        ImageFileClose();
    }
    if (const int error = ImageFileOpen(path)) {
        *osError = error;
        return false;
    }
    if (TinyMount(0) < 0) {
        ImageFileClose();
        return false;
    }
    if (volume)
        *volume = 0;
    return true;
}

void TinyCloseImage(int volume)
{
    if (!ImageFileIsOpen())
        return;
    UnmountVolume(volume);
    ImageFileClose();
}

bool TinyVolume::Mount(const std::string& path)
{
    Unmount();
    m_problem = TinyImageProblem::None;
    m_problemPath.clear();
    auto refuse = [&](TinyImageProblem problem) {
        m_problem = problem;
        m_problemPath = path;
        return false;
    };
    const ImageAttributes attributes = ImageFileAttributes(path);
    if (attributes == ImageAttributes::Missing) {
        m_errorText = WithPath(kTextNotFound, path);
        return false;
    }
    if (attributes == ImageAttributes::NotAFile) {
        m_errorText = WithPath(kTextCannotOpen, path);
        return refuse(TinyImageProblem::NotAFile);
    }
    if (attributes == ImageAttributes::ReadOnly) {
        m_errorText = WithPath(kTextReadOnly, path);
        return refuse(TinyImageProblem::ReadOnly);
    }
    int volume = -1;
    int osError = 0;
    if (!TinyOpenImage(path, &volume, &osError)) {
        if (osError == 0) {
            m_errorText = kTextMountFailed;
            return refuse(TinyImageProblem::Damaged);
        }
        m_errorText = WithPath(kTextCannotOpen, path);
        if (osError == TINY_OS_ERROR_SHARING) {
            m_errorText += kTextOtherMount;
            return refuse(TinyImageProblem::InUse);
        }
        return refuse(osError == TINY_OS_ERROR_WRITE_PROTECT ? TinyImageProblem::ReadOnly
                                                             : TinyImageProblem::CannotOpen);
    }
    m_volumeIndex = volume;
    m_imagePath = path;
    if (!LoadDirectory()) {
        Unmount();
        return refuse(TinyImageProblem::Damaged);
    }
    return true;
}

void TinyVolume::Unmount()
{
    if (m_volumeIndex < 0)
        return;
    TinyCloseImage(m_volumeIndex);
    m_volumeIndex = -1;
    m_imagePath.clear();
    m_entries.clear();
}

bool TinyVolume::LoadDirectory()
{
    m_entries.clear();
    const uint32_t volume = static_cast<uint32_t>(m_volumeIndex);
    TinyVolumeStat volumeStat{};
    if (TinyStatVolume(volume, &volumeStat) < 0) {
        m_errorText = kTextNoProperties;
        return false;
    }
    const uint32_t slots = volumeStat.fileSlots;
    if (slots < 2)
        return true;
    m_entries.resize(slots - 2);
    for (uint32_t i = 0; i + 2 < slots; ++i) {
        const uint32_t n = i + 2;
        TinyFileEntry& entry = m_entries[i];
        entry.number = n;
        TinyFileStat fileStat{};
        if (TinyStat(volume, 0, n, &fileStat) < 0)
            continue;
        const int handle = TinyOpen(volume, 0, n, TINY_MODE_READ);
        if (handle < 0)
            return false;
        uint8_t byte1 = 0;
        uint8_t nameBytes[16] = {};
        uint8_t text2Bytes[16] = {};
        TinySeek(handle, 1, TINY_SEEK_SET);
        int counted = TinyRead(handle, &byte1, 1);
        if (n >= 6) {
            TinySeek(handle, 18, TINY_SEEK_SET);
            counted = TinyRead(handle, nameBytes, sizeof nameBytes);
            TinySeek(handle, 2, TINY_SEEK_SET);
            TinyRead(handle, text2Bytes, sizeof text2Bytes);
        }
        const int closed = TinyClose(handle);
        if (counted < 0 || closed < 0)
            return false;
        entry.isEmpty = 0;
        entry.date = fileStat.date;
        entry.time = fileStat.time;
        entry.size = fileStat.size;
        entry.byte1 = byte1;
        if (n >= 6) {
            entry.name = TextFromBytes(nameBytes);
            TrimRight(entry.name);
            entry.text2 = TextFromBytes(text2Bytes);
        }
    }
    return true;
}
