// The Windows program's dialogs under wine, driven by the messages a pilot's
// clicks and keys send: a conversion through the main and Detail dialogs
// compared byte for byte with the core's conversion of the same model and
// choices, the settings and the language carried to the next start, and
// every dialog in every language checked for cut-off texts and shot into
// ARK_SCREENSHOT_DIR (when set). Message boxes are answered through the
// program's seam; each dialog runs the test's next step for it when shown.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>

#include "../core/TestFolder.h"
#include "app/DialogChoices.h"
#include "ui/win32/DetailDlg.h"
#include "model/ConvertHW.h"
#include "app/Strings.h"
#include "samplegen/PX200Samples.h"
#include "samplegen/PX400Samples.h"
#include "samplegen/SampleFiles.h"
#include "storage/TinyImage.h"
#include "ui/win32/AboutDlg.h"
#include "ui/win32/ArkletonDlg.h"
#include "ui/win32/Prompts.h"
#include "ui/win32/RegistrySettings.h"
#include "ui/win32/resource.h"

#include <wincodec.h>

namespace {

const wchar_t kApplication[] = L"arkleton-test";

// Does nothing the test needs to see: the core's own conversion.
struct QuietHost : IDialogHost {
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void FocusControl(FocusTarget, bool) override {}
    void MessageBox(const std::u16string&, const std::u16string&, MessageKind) override {}
    void ShowModelList(ListSide, const ModelListing&) override {}
};

void Command(HWND dialog, int id, int code = BN_CLICKED)
{
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void ChooseInCombo(HWND dialog, int id, int index)
{
    ::SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Command(dialog, id, CBN_SELCHANGE);
}

RECT ChildRect(HWND dialog, int id)
{
    RECT rect = {};
    ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Selects the rows (and only those) as clicks with Ctrl held would.
void SelectRows(HWND dialog, int listId, std::initializer_list<int> rows)
{
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendDlgItemMessageW(dialog, listId, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    for (int row : rows)
        ::SendDlgItemMessageW(dialog, listId, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

// Lets the dialog paint itself before it is looked at.
void Settle(HWND window)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const DWORD until = ::GetTickCount() + 300;
    MSG message;
    while (::GetTickCount() < until) {
        while (::PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            ::DispatchMessageW(&message);
        ::Sleep(20);
    }
}

// The texts of a dialog's labels, buttons and closed combo boxes that do not
// fit their controls, as "id: text"; checked counts the texts looked at.
std::vector<std::wstring> CutOffTexts(HWND dialog, int& checked)
{
    std::vector<std::wstring> cut;
    checked = 0;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        // A folder's path may be longer than its combo box: it scrolls.
        const int id = ::GetDlgCtrlID(child);
        if (id == IDC_SOURCE_LOCATION || id == IDC_TARGET_LOCATION)
            continue;
        wchar_t kind[32] = {};
        ::GetClassNameW(child, kind, 32);
        const LONG style = ::GetWindowLongW(child, GWL_STYLE);
        std::wstring text = WindowText(child);
        int room = 0;
        RECT box = {};
        ::GetClientRect(child, &box);
        if (!::IsWindowVisible(child))
            continue;
        if (!::_wcsicmp(kind, L"Static") && (style & SS_TYPEMASK) <= SS_RIGHT) {
            room = box.right;
        } else if (!::_wcsicmp(kind, L"Button")) {
            const bool group = (style & BS_TYPEMASK) == BS_GROUPBOX;
            room = box.right - ::MulDiv(group ? 16 : 8, static_cast<int>(WindowDpi(dialog)), 96);
        } else if (!::_wcsicmp(kind, L"ComboBox")) {
            text = ComboItemText(child, ComboSelection(child));
            room = box.right - ::GetSystemMetrics(SM_CXVSCROLL) - 6;
        } else {
            continue;
        }
        HDC dc = ::GetDC(child);
        const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)));
        // One line must fit its width; a text of several lines, or a label
        // that wraps its words, also the height.
        const bool wraps = !::_wcsicmp(kind, L"Static") && !(style & SS_ENDELLIPSIS);
        const bool lines = wraps || text.find(L'\n') != std::wstring::npos;
        RECT need = {0, 0, box.right, 0};
        ::DrawTextW(dc, text.c_str(), -1, &need,
                    DT_CALCRECT | (lines ? DT_WORDBREAK : DT_SINGLELINE) | (style & SS_NOPREFIX ? DT_NOPREFIX : 0));
        ::SelectObject(dc, old);
        ::ReleaseDC(child, dc);
        checked += !text.empty();
        if (!text.empty() && (need.right > room || (lines && need.bottom > box.bottom)))
            cut.push_back(std::to_wstring(id) + L": " + text);
    }
    return cut;
}

// The window as the screen shows it, as a PNG file in ARK_SCREENSHOT_DIR.
void Screenshot(HWND window, const std::wstring& name)
{
    const wchar_t* folder = _wgetenv(L"ARK_SCREENSHOT_DIR");
    if (!folder || !*folder)
        return;
    Settle(window);
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = ::GetWindowDC(window);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    IWICImagingFactory* factory = nullptr;
    IWICBitmap* image = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    const std::wstring path = std::wstring(folder) + L"\\" + name + L".png";
    HRESULT hr = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory));
    if (SUCCEEDED(hr))
        hr = factory->CreateBitmapFromHBITMAP(bitmap, nullptr, WICBitmapIgnoreAlpha, &image);
    if (SUCCEEDED(hr))
        hr = factory->CreateStream(&stream);
    if (SUCCEEDED(hr))
        hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
    if (SUCCEEDED(hr))
        hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder);
    if (SUCCEEDED(hr))
        hr = encoder->Initialize(stream, WICBitmapEncoderNoCache);
    if (SUCCEEDED(hr))
        hr = encoder->CreateNewFrame(&frame, nullptr);
    if (SUCCEEDED(hr))
        hr = frame->Initialize(nullptr);
    if (SUCCEEDED(hr))
        hr = frame->WriteSource(image, nullptr);
    if (SUCCEEDED(hr))
        hr = frame->Commit();
    if (SUCCEEDED(hr))
        hr = encoder->Commit();
    for (IUnknown* object : {static_cast<IUnknown*>(frame), static_cast<IUnknown*>(encoder),
                             static_cast<IUnknown*>(stream), static_cast<IUnknown*>(image), static_cast<IUnknown*>(factory)})
        if (object)
            object->Release();
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(window, screen);
    EXPECT_TRUE(SUCCEEDED(hr)) << "screenshot " << Utf8(path);
}

class Win32Dialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Varkel Corp.\\arkleton-test");
        TheLanguage().m_language = 0;
        SetLanguage(Language::English);
        // One moment for both conversions: the file holds the time it was made.
        SetLocalClockForTesting([](SYSTEMTIME* now) { *now = SYSTEMTIME{2024, 5, 3, 17, 9, 30, 0, 0}; });
        SetMessagePresenter([this](HWND, const std::wstring& text, const std::wstring&, UINT type) {
            boxes.push_back(text);
            return (type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
        });
        // Each dialog runs its next step; one without a step is cancelled.
        SetDialogHook([this](HWND dialog, int templateId) {
            std::deque<std::function<void(HWND)>>& queue = steps[templateId];
            if (queue.empty()) {
                ADD_FAILURE() << "dialog " << templateId << " opened without a step";
                ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                return;
            }
            const std::function<void(HWND)> step = queue.front();
            queue.pop_front();
            step(dialog);
        });
    }
    void TearDown() override
    {
        SetMessagePresenter({});
        SetFolderPicker({});
        SetDialogHook({});
        SetLocalClockForTesting(nullptr);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Varkel Corp.\\arkleton-test");
        for (const auto& [id, queue] : steps)
            EXPECT_TRUE(queue.empty()) << "dialog " << id << " did not open for every step";
    }

    // Stores the locations and transmitters the next start begins with, and
    // nothing else (no column widths of an earlier run).
    void StoreGroups(const std::string& source, int sourceTransmitter, const std::string& target, int language = 0)
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Varkel Corp.\\arkleton-test");
        store.WriteText("Convert from", "Folder1", Utf8ToUtf16(source));
        store.WriteInt("Convert from", "TransmitterSrc", sourceTransmitter);
        store.WriteText("Convert to", "Folder1", Utf8ToUtf16(target));
        store.WriteInt("system", "Language", language);
    }

    CRegistrySettings store{kApplication};
    std::vector<std::wstring> boxes;
    std::map<int, std::deque<std::function<void(HWND)>>> steps;
};

struct ConversionCase {
    const char* name;
    int sourceTransmitter;  // entry of the source transmitter combo box
    int row;
    int hardwareRow;        // the Detail row whose choice changes
    int hardwareChoice;
};

class Win32Conversion : public Win32Dialogs, public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(Win32Conversion, WritesTheFileTheCoreWritesForTheSameModelAndChoices)
{
    const ConversionCase& c = GetParam();
    TestFolder source, target, reference;
    if (c.sourceTransmitter == 0)
        WritePX400Samples(source.Path());
    else
        WritePX200SampleImage(source.Path());
    StoreGroups(source.Path(), c.sourceTransmitter, source.Path());
    SetFolderPicker([&](HWND, const std::wstring&, const std::wstring&) { return WidePath(target.Path()); });

    CArkletonDlg main(store);
    DetailChoices confirmed;
    steps[IDD_DETAIL].push_back([&](HWND detail) {
        ChooseInCombo(detail, kHardwareComboIds[c.hardwareRow], c.hardwareChoice);
        ::SetDlgItemTextW(detail, kConditionEditIds[1], L"WINCOND");
        Command(detail, IDOK);
    });
    steps[IDD_REPORT].push_back([&](HWND report) {
        EXPECT_GT(::GetWindowTextLengthW(::GetDlgItem(report, IDC_REPORT_TEXT)), 0);
        Screenshot(report, std::wstring(L"report-") + Wide(Utf8ToUtf16(c.name)));
        Command(report, IDOK);
    });
    steps[IDD_ARKLETON_DIALOG].push_back([&](HWND dialog) {
        Command(dialog, IDC_BROWSE_TARGET);  // the browser answers with the target folder
        EXPECT_EQ(ItemText(dialog, IDC_TARGET_LOCATION), WidePath(target.Path()));
        SelectRows(dialog, IDC_SOURCE_LIST, {c.row});
        ::SetDlgItemTextW(dialog, IDC_MODEL_NAME, L"WIN TEST");
        Command(dialog, IDC_DETAIL);
        const MainDialogState& state = main.State();
        for (int n = 0; n < CONDITION_COUNT; ++n)
            confirmed.conditionNames[n] = state.m_conditionNames[n];
        for (int n = 0; n < CONDITION_COUNT * DUAL_RATE_COUNT; ++n)
            confirmed.dualRateNames[n] = state.m_dualRateNames[n];
        for (int r = 0; r < HW_ROWS; ++r)
            confirmed.hardwareChoice[r] = TheConvertHW().m_rows[r].selection;
        Command(dialog, IDC_CONVERT);
        Command(dialog, IDCANCEL);
    });
    TinyStartup();  // as the program's run does
    main.DoModal(nullptr);
    EXPECT_EQ(confirmed.conditionNames[1], u"WINCOND");
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes[1], Wide(LoadString(108)));  // after the Detail notice: converted

    // The core on its own, from the same folder, row, name and choices.
    MainDialogState state;
    QuietHost host;
    CConvertHW table;
    state.sourceTransmitter = kSourceTransmitters[c.sourceTransmitter];
    state.targetTransmitter = TX_PX600;
    state.sourceLocationText = source.Path();
    state.targetLocationText = reference.Path();
    SaveDialogData(state, host);
    state.selectedSourceRow = c.row;
    state.modelNameText = u"WIN TEST";
    ResetHardwareTable(state, table);
    ConfirmDetailChoices(state, table, confirmed);
    ASSERT_TRUE(OnConvert(state, host, table));
    TinyShutdown();
    const std::vector<uint8_t> expected = ReadSampleFile(reference.File("WIN TEST.mdl"));
    EXPECT_EQ(expected.size(), 32768u);
    EXPECT_EQ(ReadSampleFile(target.File("WIN TEST.mdl")), expected);
}

INSTANTIATE_TEST_SUITE_P(Models, Win32Conversion,
                         ::testing::Values(ConversionCase{"PX400", 0, 1, 2, 0}, ConversionCase{"PX200", 1, 0, 0, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Win32Dialogs, SettingsAndLanguageAreWrittenAtCloseAndReadAtTheNextStart)
{
    TestFolder folder;
    StoreGroups(folder.Path(), 0, folder.Path(), 1);
    const RECT placed = {40, 30, 1040, 680};
    steps[IDD_SETTING].push_back([](HWND setting) {
        ChooseInCombo(setting, IDC_LANGUAGE, 3);  // German
        Command(setting, IDOK);
    });
    steps[IDD_ARKLETON_DIALOG].push_back([&](HWND dialog) {
        // Dragging either edge below the smallest size stops at it.
        RECT right = {0, 0, 100, 100}, left = {0, 0, 100, 100};
        ::SendMessageW(dialog, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&right));
        ::SendMessageW(dialog, WM_SIZING, WMSZ_TOPLEFT, reinterpret_cast<LPARAM>(&left));
        EXPECT_GT(right.right, 300);
        EXPECT_EQ(left.right - left.left, right.right);
        EXPECT_EQ(left.bottom - left.top, right.bottom);
        EXPECT_EQ(left.right, 100);
        ::MoveWindow(dialog, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top, TRUE);
        ::SendMessageW(dialog, WM_SYSCOMMAND, kSettingCommand, 0);
        ::ShowWindow(dialog, SW_MAXIMIZE);  // the restored rectangle is what is stored
        // Both groups share the width equally around the centre.
        RECT client = {};
        ::GetClientRect(dialog, &client);
        const RECT from = ChildRect(dialog, IDC_GROUP_FROM), to = ChildRect(dialog, IDC_GROUP_TO);
        EXPECT_NEAR(from.right - from.left, to.right - to.left, 1);
        EXPECT_NEAR(from.left, client.right - to.right, 2);
        EXPECT_LE(ChildRect(dialog, IDC_TARGET_LIST).right, to.right);
        EXPECT_LT(ChildRect(dialog, IDC_SOURCE_LIST).right, from.right);
        Command(dialog, IDCANCEL);
    });
    RunArkleton(store);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], Wide(LoadString(900, Language::English)));
    EXPECT_EQ(store.ReadInt("system", "Language"), 3);
    EXPECT_EQ(store.ReadText("Convert from", "Folder1"), Utf8ToUtf16(folder.Path()));

    steps[IDD_ARKLETON_DIALOG].push_back([&](HWND dialog) {
        EXPECT_EQ(ItemText(dialog, IDC_DETAIL), Wide(LoadString(2010, Language::German)));
        RECT rect = {};
        ::GetWindowRect(dialog, &rect);
        EXPECT_EQ(rect.left, placed.left);
        EXPECT_EQ(rect.top, placed.top);
        EXPECT_EQ(rect.right, placed.right);
        EXPECT_EQ(rect.bottom, placed.bottom);
        Command(dialog, IDCANCEL);
    });
    RunArkleton(store);
    SetLanguage(Language::English);
    EXPECT_EQ(CStaticVersion().VersionText(), L"Version " ARK_VERSION);
}

TEST_F(Win32Dialogs, SeveralSelectedModelsAreNamedConvertedAndSummed)
{
    TestFolder source, target;
    WritePX400Samples(source.Path());
    StoreGroups(source.Path(), 0, target.Path());
    std::wstring counts;
    steps[IDD_BATCH_NAMES].push_back([](HWND names) {
        EXPECT_EQ(::SendDlgItemMessageW(names, IDC_BATCH_LIST, LVM_GETITEMCOUNT, 0, 0), 3);
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(names, IDOK)));
        Screenshot(names, L"names-en");
        Command(names, IDOK);
    });
    steps[IDD_BATCH_PROGRESS].push_back([](HWND) {});
    steps[IDD_REPORT].push_back([](HWND report) {
        EXPECT_GT(::GetWindowTextLengthW(::GetDlgItem(report, IDC_REPORT_TEXT)), 0);
        Command(report, IDOK);
    });
    steps[IDD_BATCH_SUMMARY].push_back([&](HWND summary) {
        counts = ItemText(summary, IDC_BATCH_COUNTS);
        Screenshot(summary, L"summary-en");
        SelectRows(summary, IDC_BATCH_LIST, {2});
        Command(summary, IDC_BATCH_REPORT);
        Command(summary, IDCANCEL);
    });
    steps[IDD_ARKLETON_DIALOG].push_back([&](HWND dialog) {
        SelectRows(dialog, IDC_SOURCE_LIST, {0, 2, 4});
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_DETAIL)));
        Command(dialog, IDC_CONVERT);
        Command(dialog, IDCANCEL);
    });
    RunArkleton(store);
    EXPECT_EQ(counts, Wide(FormatString(1713, {3LL, 3LL, 0LL, 0LL})));
    int stored = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(target.Path())))
        stored += entry.file_size() == 32768;
    EXPECT_EQ(stored, 3);
}

TEST_F(Win32Dialogs, EveryDialogShowsItsTextsWholeInEveryLanguage)
{
    TestFolder px400, px200;
    WritePX400Samples(px400.Path());
    WritePX200SampleImage(px200.Path());
    const struct {
        int index;
        const wchar_t* code;
    } languages[] = {{1, L"en"}, {3, L"de"}, {4, L"fr"}, {2, L"ja"}};
    for (const auto& language : languages) {
        StoreGroups(px400.Path(), 0, px200.Path(), language.index);
        auto look = [&](HWND dialog, const wchar_t* name) {
            const std::wstring shot = std::wstring(name) + L"-" + language.code;
            Settle(dialog);
            int checked = 0;
            for (const std::wstring& cut : CutOffTexts(dialog, checked))
                ADD_FAILURE() << Utf8(shot + L" cuts off " + cut);
            EXPECT_GE(checked, 3) << Utf8(shot);
            Screenshot(dialog, shot);
        };
        for (const auto& [id, name] : {std::pair{IDD_DETAIL, L"detail"}, std::pair{IDD_ABOUTBOX, L"about"},
                                       std::pair{IDD_SETTING, L"setting"}, std::pair{IDD_BATCH_NAMES, L"names"}}) {
            steps[id].push_back([&look, name = name](HWND dialog) {
                look(dialog, name);
                Command(dialog, IDCANCEL);
            });
        }
        steps[IDD_ARKLETON_DIALOG].push_back([&](HWND dialog) {
            SelectRows(dialog, IDC_SOURCE_LIST, {1});
            look(dialog, L"main");
            Command(dialog, IDC_DETAIL);
            // Two models into a folder (an image takes none): their names.
            SetFolderPicker([&](HWND, const std::wstring&, const std::wstring&) { return WidePath(px400.Path()); });
            Command(dialog, IDC_BROWSE_TARGET);
            SelectRows(dialog, IDC_SOURCE_LIST, {0, 1});
            Command(dialog, IDC_CONVERT);
            ::SendMessageW(dialog, WM_SYSCOMMAND, kAboutCommand, 0);
            ::SendMessageW(dialog, WM_SYSCOMMAND, kSettingCommand, 0);
            Command(dialog, IDCANCEL);
        });
        RunArkleton(store);
    }
}

}  // namespace
