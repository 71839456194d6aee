// Builds valid TINYFS volumes in memory or as image files, for tests and the
// bundled samples. The program itself never formats a volume.
//
// Layout: header in block 0, blocks 1..7 zero, file bitmap in blocks 8..135,
// the cluster bitmap from block 136, then the file-record table, then the data
// area. Files are laid out in clusters 1, 2, 3 ... in the order of their
// numbers. Fields the engine does not read are zero.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct TinyBuildFile {
    std::vector<uint8_t> data;
    uint8_t attributes = 0;
    uint16_t date = 0;  // FAT date
    uint16_t time = 0;  // FAT time
};

class TinyVolumeBuilder {
public:
    // clusters counts cluster 0, which is never allocated.
    TinyVolumeBuilder(uint16_t clusterKiB = 8, uint16_t fileSlots = 64, uint16_t clusters = 16);

    // Adds or replaces file number `number`. Throws std::invalid_argument
    // when the number is not below the file slots or the data exceeds four
    // clusters.
    TinyVolumeBuilder& AddFile(uint16_t number, std::vector<uint8_t> data, uint8_t attributes = 0,
                               uint16_t date = 0, uint16_t time = 0);
    // Extra data-area blocks that make no whole cluster.
    TinyVolumeBuilder& SetExtraDataBlocks(uint32_t blocks);

    // The volume image; throws std::length_error when the clusters run out.
    std::vector<uint8_t> Build() const;
    // Writes Build() to path; false when the file cannot be written.
    bool WriteFile(const std::string& path) const;

    // Geometry, in blocks from the volume start.
    uint32_t BlocksPerCluster() const { return uint32_t{m_clusterKiB} * 16; }
    uint32_t ClusterBitmapBlocks() const;
    uint32_t RecordStart() const;
    uint32_t RecordBlocks() const { return 2u * m_fileSlots; }
    uint32_t DataStart() const { return RecordStart() + RecordBlocks(); }
    uint32_t DataBlocks() const { return uint32_t{m_clusters} * BlocksPerCluster() + m_extraDataBlocks; }
    uint32_t ClusterBlock(uint16_t cluster) const { return DataStart() + uint32_t{cluster} * BlocksPerCluster(); }
    uint32_t RecordBlock(uint16_t number) const { return RecordStart() + 2u * number; }
    uint32_t TotalBlocks() const { return DataStart() + DataBlocks(); }

private:
    uint16_t m_clusterKiB;
    uint16_t m_fileSlots;
    uint16_t m_clusters;
    uint32_t m_extraDataBlocks = 0;
    std::map<uint16_t, TinyBuildFile> m_files;
};

// Sets or clears bit n of a bitmap that starts at block bitmapStart of image.
void TinySetImageBit(std::vector<uint8_t>& image, uint32_t bitmapStart, uint16_t bit, bool set = true);
