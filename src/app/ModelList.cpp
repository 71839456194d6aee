#include "app/ModelList.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "app/DialogHost.h"
#include "app/StringIds.h"
#include "app/Strings.h"
#include "platform/CodePage.h"
#include "storage/ModelDataFile.h"

namespace {

constexpr unsigned kOpenRead = CFile::typeBinary | CFile::modeRead;
constexpr const char* kVolumeListStart = "4";  // lists file numbers 6 and up
constexpr unsigned kSniffBytes = 16;
constexpr unsigned kLongestHeader = static_cast<unsigned>(std::max(PX400_HEADER_SIZE, PX600_HEADER_SIZE));
constexpr uint16_t kModelTypeNames = 5;  // AIRPLANE .. MULTICOPTER
constexpr size_t kMessageMax = 510;  // the longest file error text a box shows
constexpr unsigned kCauseMessageBase = 1300;  // + cause: the message of each cause

// Why a folder's image was passed over.
enum : unsigned {
    IDS_IMAGE_READ_ONLY = 1533,
    IDS_IMAGE_IN_USE = 1534,
    IDS_IMAGE_DAMAGED = 1535,
    IDS_IMAGE_NOT_A_FILE = 1536,
    IDS_IMAGE_CANNOT_OPEN = 1537,
};

// How a listed file is read: which reader and how many header bytes.
struct HeaderKind {
    CModelDataBase* reader;
    unsigned size;
};

// A plain-folder file names the PX600 in its first 16 bytes, taken as text in
// the ANSI code page up to the first zero byte.
bool NamesPX600(const uint8_t* head, unsigned got)
{
    const size_t n = std::min<size_t>(got, kSniffBytes);
    const size_t len = std::find(head, head + n, uint8_t{0}) - head;
    const std::u16string text = AnsiToUtf16(std::string_view(reinterpret_cast<const char*>(head), len));
    return text.find(TransmitterName(TX_PX600)) != std::u16string::npos;
}

std::string AnsiKey(const std::string& key)
{
    return Utf16ToAnsi(Utf8ToUtf16(key), CurrentAnsiCodePage());
}

// The line that tells why a folder's image was not used.
std::u16string ImageNotice(const TinyVolume& volume)
{
    unsigned id = 0;
    switch (volume.m_problem) {
    case TinyImageProblem::None: return {};
    case TinyImageProblem::ReadOnly: id = IDS_IMAGE_READ_ONLY; break;
    case TinyImageProblem::InUse: id = IDS_IMAGE_IN_USE; break;
    case TinyImageProblem::Damaged: id = IDS_IMAGE_DAMAGED; break;
    case TinyImageProblem::NotAFile: id = IDS_IMAGE_NOT_A_FILE; break;
    case TinyImageProblem::CannotOpen: id = IDS_IMAGE_CANNOT_OPEN; break;
    }
    return FormatString(id, {Utf8ToUtf16(volume.m_problemPath)});
}

}  // namespace

std::u16string FileErrorText(const FileResult& error)
{
    if (error.inImage)
        return LoadString(IDS_FILE_ERROR_BASE + static_cast<unsigned>(error.code));
    const std::u16string name = Utf8ToUtf16(error.fileName);
    std::u16string text = FormatString(kCauseMessageBase + static_cast<unsigned>(error.cause), {name});
    if (text.empty())
        text = FormatString(kCauseMessageBase + FileResult::generic, {name});
    if (text.size() > kMessageMax)
        text.resize(kMessageMax);
    return text;
}

std::u16string ModelTypeText(uint16_t modelType)
{
    // Only the five model types have names; the ids after them belong to other
    // texts of the table.
    if (modelType < kModelTypeNames)
        return LoadString(IDS_MODEL_TYPE_BASE + modelType);
    return LoadString(IDS_MODEL_TYPE_UNKNOWN);
}

ModelListing FillModelList(IDialogHost& host, const std::string& location,
                           const std::optional<std::string>& selectKey, std::vector<std::string>* itemKeys)
{
    host.BeginWaitCursor();
    ModelListing listing;
    {
        CModelDataFile file(location);
        listing.isVolume = file.m_isVolume != 0;
        listing.notice = ImageNotice(file.m_volume);

        // One header reader of each class, made when the first file of its
        // class comes up (a PX400 reader holds a whole 192 KiB image).
        std::unique_ptr<CModelDataBase> px400, px200, px600;
        auto reader = [](std::unique_ptr<CModelDataBase>& slot, auto make) {
            if (!slot)
                slot = make();
            return slot.get();
        };
        const std::u16string caption = LoadString(IDS_MAIN_CAPTION);
        const std::optional<std::string> wanted = selectKey ? std::optional(AnsiKey(*selectKey)) : std::nullopt;
        int selectRow = -1;

        bool found = file.FindFirst(listing.isVolume ? std::string(kVolumeListStart) : file.ListPattern());
        while (found) {
            found = file.FindNext();
            const std::string key = file.GetCurrentName();
            // One open per file: a plain folder's file is first read as far as
            // the longest header, and its first 16 bytes choose the reader. A
            // file that cannot be opened gives no row; inside an image the
            // engine's reason is shown, and the listing goes on.
            if (const FileResult opened = file.Open(key, kOpenRead); !opened.ok) {
                if (opened.inImage)
                    host.MessageBox(FileErrorText(opened), caption, MessageKind::Warning);
                continue;
            }
            HeaderKind kind{nullptr, PX200_HEADER_SIZE};
            uint8_t head[kLongestHeader] = {};
            unsigned got = 0;
            if (listing.isVolume) {
                kind.reader = reader(px200, [] { return std::make_unique<CModelDataPX200>(); });
            } else {
                if (const FileResult read = file.Read(head, kLongestHeader, got); !read.ok) {
                    host.MessageBox(FileErrorText(read), caption, MessageKind::Warning);
                    file.Close();
                    continue;
                }
                if (NamesPX600(head, got))
                    kind = {reader(px600, [] { return std::make_unique<CModelDataPX600>(); }), PX600_HEADER_SIZE};
                else
                    kind = {reader(px400, [] { return std::make_unique<CModelDataPX400>(); }), PX400_HEADER_SIZE};
            }
            // Every row starts from a cleared header: bytes a short file does
            // not deliver are 0, never the previous file's. Inside an image a
            // failed read keeps what arrived.
            uint8_t* buffer = kind.reader->GetReadBuffer();
            std::memset(buffer, 0, kind.size);
            if (listing.isVolume)
                file.Read(buffer, kind.size, got);
            else
                std::memcpy(buffer, head, std::min(got, kind.size));

            ModelListRow row;
            char16_t transmitter[9] = {};
            kind.reader->GetTransmitterName(transmitter);
            row.columns[0] = transmitter;
            row.transmitter = TransmitterTypeOfName(row.columns[0]);
            row.columns[1] = kind.reader->GetModelName();
            row.columns[2] = ModelTypeText(kind.reader->GetModelType());
            row.columns[3] = kind.reader->GetDateText();
            row.key = key;
            if (itemKeys)
                itemKeys->push_back(key);
            if (wanted && AnsiKey(key) == *wanted)
                selectRow = static_cast<int>(listing.rows.size());
            listing.rows.push_back(std::move(row));
            if (const FileResult closed = file.Close(); !closed.ok)
                host.MessageBox(FileErrorText(closed), caption, MessageKind::Warning);
        }
        if (!listing.rows.empty())
            listing.selected = selectRow >= 0 ? selectRow : 0;
    }
    host.EndWaitCursor();
    return listing;
}
