#include "OptionsDialog.h"

#include <commctrl.h>

#include <new>
#include <vector>

#include "CommonDialog.h"
#include "FormObject.h"
#include "Initialization.h"
#include "LaunchRules.h"
#include "LauncherError.h"
#include "LibraryCalls.h"
#include "LibrarySlots.h"
#include "LoadedForms.h"
#include "OptionCatalogue.h"
#include "OptionsModel.h"
#include "OptionsRules.h"
#include "Raii.h"
#include "Splash.h"
#include "ThemedCheckBoxes.h"
#include "Window.h"

namespace vantorel {
namespace {

using ui::Kind;

constexpr int kClientWidth = 7050;
constexpr int kClientHeight = 4920;
constexpr int kLineTop = 4275;
constexpr UINT kSelectAllMessage = WM_APP + 1;
// After a change of size (a new DPI) the controls have moved: the tab strip's shape follows.
constexpr UINT kRefitMessage = WM_APP + 2;
constexpr int kLogoBitmap = 101;

enum Page : int { kEveryPage = -1, kPropertiesPage = 0, kSystemPage = 1, kUserPage = 2 };

struct Placed {
    ui::Control control;
    int page;
};

// Design-time state: the keep lists and their Select buttons start disabled.
// Labels overlap their neighbours as laid out; they give way to them.
constexpr DWORD kLeftLabel = WS_CLIPSIBLINGS;
constexpr DWORD kRightLabel = SS_RIGHT | WS_CLIPSIBLINGS;
const std::vector<Placed>& optionsLayout()
{
    static const std::vector<Placed> rows = {
        {{kTabBox, Kind::Tabs, nullptr, 90, 90, 6840, 4110, WS_CLIPSIBLINGS, 23}, kEveryPage},
        {{kLogo, Kind::Picture, nullptr, 90, 4365, 1785, 480, 0, 0}, kEveryPage},
        {{kCmdOK, Kind::DefaultButton, L"&OK", 2880, 4410, 1275, 420, 0, 20}, kEveryPage},
        {{kCmdCancel, Kind::Button, L"&Cancel", 4275, 4410, 1275, 420, 0, 21}, kEveryPage},
        {{kCmdApply, Kind::Button, L"A&pply", 5670, 4410, 1275, 420, 0, 22}, kEveryPage},

        {{kChkRandomize, Kind::CheckBox, L"Randomize Pilot", 135, 450, 1455, 240, 0, 9}, kPropertiesPage},
        {{kFirstLabel, Kind::Label, L"MAIN.EXE Path:", 90, 855, 1230, 240, kRightLabel, 0}, kPropertiesPage},
        {{kTxtMainExe, Kind::Text, nullptr, 1395, 810, 4380, 285, 0, 10}, kPropertiesPage},
        {{kCmdMainExe, Kind::Button, L"Browse", 5850, 810, 825, 285, 0, 11}, kPropertiesPage},
        {{kFirstLabel + 1, Kind::Label, L"D3 Parameters:", 135, 1215, 1185, 240, kRightLabel, 0}, kPropertiesPage},
        {{kTxtParameters, Kind::Text, nullptr, 1395, 1170, 5280, 285, 0, 12}, kPropertiesPage},
        {{kFirstLabel + 2, Kind::Label, L"Parameter List:", 135, 1575, 1635, 240, kLeftLabel, 0}, kPropertiesPage},
        {{kLstParameters, Kind::List, nullptr, 135, 1800, 1635, 2205, LBS_NOINTEGRALHEIGHT, 13}, kPropertiesPage},
        {{kFirstLabel + 3, Kind::Label, L"Description:", 2385, 1575, 1995, 240, kLeftLabel, 0}, kPropertiesPage},
        {{kTxtDescription, Kind::MultiLineText, nullptr, 1890, 1800, 2085, 2175, 0, 24}, kPropertiesPage},
        {{kChkClearTaunts, Kind::CheckBox, L"Clear Taunts", 4095, 1575, 1230, 285, 0, 14}, kPropertiesPage},
        {{kFirstLabel + 4, Kind::Label, L"Keep these:", 4095, 1845, 1050, 195, kLeftLabel, 0}, kPropertiesPage},
        {{kLstTaunts, Kind::List, nullptr, 4095, 2070, 1230, 1425,
          WS_DISABLED | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT, 15}, kPropertiesPage},
        {{kCmdKeepTaunts, Kind::Button, L"Select", 4095, 3600, 1230, 375, WS_DISABLED, 16}, kPropertiesPage},
        {{kChkClearLogos, Kind::CheckBox, L"Clear Logos", 5445, 1575, 1140, 285, 0, 17}, kPropertiesPage},
        {{kFirstLabel + 5, Kind::Label, L"Keep these:", 5445, 1845, 1050, 195, kLeftLabel, 0}, kPropertiesPage},
        {{kLstLogos, Kind::List, nullptr, 5445, 2070, 1230, 1425,
          WS_DISABLED | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT, 18}, kPropertiesPage},
        {{kCmdKeepLogos, Kind::Button, L"Select", 5445, 3600, 1230, 375, WS_DISABLED, 19}, kPropertiesPage},

        {{kSysCheckBox0, Kind::CheckBox, L"Show SplashScreen", 135, 495, 6585, 240, 0, 5}, kSystemPage},
        {{kSysCheckBox1, Kind::CheckBox, L"Animate Windows", 135, 765, 6630, 240, 0, 6}, kSystemPage},
        {{kSysCheckBox2, Kind::CheckBox, L"DLL Debugging", 135, 1035, 6630, 240, 0, 7}, kSystemPage},
        {{kFirstLabel + 6, Kind::Label, L"Network Port:", 135, 3375, 1005, 285, kLeftLabel, 0}, kSystemPage},
        {{kSysBox1, Kind::Text, nullptr, 1170, 3330, 825, 285, 0, 8}, kSystemPage},

        {{kFirstLabel + 7, Kind::Label, L"Name:", 180, 540, 825, 285, kRightLabel, 0}, kUserPage},
        {{kUserBox1, Kind::Text, nullptr, 1080, 495, 2490, 285, 0, 1}, kUserPage},
        {{kFirstLabel + 8, Kind::Label, L"Company:", 180, 900, 825, 285, kRightLabel, 0}, kUserPage},
        {{kUserBox2, Kind::Text, nullptr, 1080, 855, 2490, 285, 0, 2}, kUserPage},
        {{kFirstLabel + 9, Kind::Label, L"EMail:", 180, 1260, 825, 285, kRightLabel, 0}, kUserPage},
        {{kUserBox3, Kind::Text, nullptr, 1080, 1215, 2490, 285, 0, 3}, kUserPage},
        {{kFirstLabel + 10, Kind::Label, L"Area Code:", 180, 1620, 825, 285, kRightLabel, 0}, kUserPage},
        {{kSysBox0, Kind::Text, nullptr, 1080, 1575, 825, 285, 0, 4}, kUserPage},
    };
    return rows;
}

std::vector<ui::Control> controlTable()
{
    std::vector<ui::Control> controls;
    for (const Placed& row : optionsLayout()) controls.push_back(row.control);
    return controls;
}

// The two keep-list editors differ only in these.
struct KeepSide {
    int clearBox, list, select;
    options::KeepList options::Values::*values;
    const wchar_t* extension;
    const wchar_t* folder;
    const wchar_t* title;
    const wchar_t* procedure;
};

const KeepSide kTaunts{kChkClearTaunts, kLstTaunts, kCmdKeepTaunts, &options::Values::taunts, L"osf",
                       L"custom\\sounds\\", L"Choose Taunts To Save", L"Options:cmdKeepTaunts_Click"};
const KeepSide kLogos{kChkClearLogos, kLstLogos, kCmdKeepLogos, &options::Values::logos, L"ogf",
                      L"custom\\graphics\\", L"Choose Logos To Save", L"Options:cmdKeepLogos_Click"};

const int kSysCheckBoxes[] = {kSysCheckBox0, kSysCheckBox1, kSysCheckBox2};
const int kUserBoxes[] = {kUserBox1, kUserBox2, kUserBox3};

std::wstring listEntry(HWND list, int index)
{
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

const wchar_t* checkText(bool ticked) { return ticked ? L"1" : L"0"; }

class OptionsDialog final : public ui::Window {
public:
    OptionsDialog()
        : ui::Window({kOptionsWindowClass, kOptionsCaption,
                      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                      WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_APPWINDOW, kClientWidth + 90,
                      kClientHeight + 420},
                     controlTable())
    {
    }

    void formLoad();
    bool exitOnComplete = false;

private:

    void onCreate() override;
    void onCommand(int id, int notification) override;
    bool onClose() override { return false; } // the close box and the system menu are refused
    void onDestroy() override;
    void onFinalDestroy() override { delete this; }
    bool onPaint(HDC dc, const RECT& client) override;
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    template <class Action>
    void guarded(Action action);

    void sizeClientArea();
    void arrangeKeyboardOrder();
    void addTooltip(int id, const wchar_t* text);
    void loadLogo();
    void showPage(int page);
    void fitTabRegion();
    bool onTab(HWND window) const;

    bool ticked(int id) const { return SendMessageW(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void tick(int id, bool state) { SendMessageW(control(id), BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0); }
    std::wstring text(int id) const { return ui::windowText(control(id)); }
    void setText(int id, const std::wstring& value) { SetWindowTextW(control(id), value.c_str()); }
    void enable(int id, bool state) { EnableWindow(control(id), state ? TRUE : FALSE); }
    void markDirty() { enable(kCmdApply, true); }

    void openAtPlace();
    void fillCatalogue();
    void show(const options::Values& values);
    void logShown();
    options::Values shown() const;
    std::vector<std::wstring> entries(int list) const;
    void switchClicked(const KeepSide& side);
    void selectKept(const KeepSide& side);
    void deleteKept(int list);
    void browseForGame();
    void showDescription();
    void prependSelectedOption();
    void commandClick(int id);
    void unload();
    void unloadSteps();
    void showAbout();

    raii::ComPtr<IDispatch> commonDialog_;
    raii::ComPtr<IDispatch> form_;
    HWND tooltips_ = nullptr;
    raii::UniqueBitmap logo_;
    int page_ = kPropertiesPage;
    options::TabPane pane_;
    options::HoverCheckBoxes sysBoxes_{*this, {kSysCheckBox0, kSysCheckBox1, kSysCheckBox2}, kTabBox};
    bool unloaded_ = false;
};

template <class Action>
void OptionsDialog::guarded(Action action)
{
    // A failed library call ends the reaction it happens in; the dialog stays usable.
    try {
        action();
    } catch (const LauncherError& error) {
        try {
            applicationLog().Post(L"Error " + hresultText(error.hr()) + L" in " + error.procedure(),
                                  error.description());
        } catch (const LauncherError&) {
            // Without a log there is nowhere left to report it.
        }
    }
}

void OptionsDialog::onCreate()
{
    sizeClientArea();
    HWND tabs = control(kTabBox);
    const wchar_t* names[] = {L"Properties", L"System Settings", L" User Information"};
    for (int i = 0; i < 3; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(names[i]);
        SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(control(kSysBox0), EM_LIMITTEXT, 3, 0);
    SendMessageW(control(kSysBox1), EM_LIMITTEXT, 4, 0);
    arrangeKeyboardOrder();
    tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle(), nullptr, ui::thisModule(),
                                nullptr);
    addTooltip(kLogo, L"Click for About Screen");
    pane_.sample(control(kTabBox));
    loadLogo();
    commonDialog_ = raii::ComPtr<IDispatch>::attach(createCommonDialog(handle()));
    form_ = raii::ComPtr<IDispatch>::attach(ui::createFormObject(handle(), L"frmOptions"));
    showPage(kPropertiesPage);
}

void OptionsDialog::sizeClientArea()
{
    RECT outer{0, 0, pixels(kClientWidth), pixels(kClientHeight)};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(handle(), GWL_EXSTYLE)));
    SetWindowPos(handle(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Tab follows the z-order, so the tab strip and the description come late in
// it; the labels and the logo, never reached by Tab, must still lie above the
// strip so that it does not paint over them.
void OptionsDialog::arrangeKeyboardOrder()
{
    HWND after = control(kCmdApply);
    for (const Placed& row : optionsLayout())
        if (row.control.tabOrder == 0) {
            SetWindowPos(control(row.control.id), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = control(row.control.id);
        }
    SetWindowPos(control(kTabBox), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(control(kTxtDescription), control(kTabBox), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void OptionsDialog::addTooltip(int id, const wchar_t* tip)
{
    if (!tooltips_) return;
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = handle();
    info.uId = reinterpret_cast<UINT_PTR>(control(id));
    info.lpszText = const_cast<wchar_t*>(tip);
    SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void OptionsDialog::loadLogo()
{
    RECT button{};
    GetClientRect(control(kLogo), &button);
    const int margin = pixels(60);
    logo_.reset(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kLogoBitmap),
                                                IMAGE_BITMAP, button.right - 2 * margin, button.bottom - 2 * margin,
                                                LR_DEFAULTCOLOR)));
    if (logo_) SendMessageW(control(kLogo), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo_.get()));
}

void OptionsDialog::showPage(int page)
{
    page_ = page;
    for (const Placed& row : optionsLayout())
        if (row.page != kEveryPage) ShowWindow(control(row.control.id), row.page == page ? SW_SHOWNA : SW_HIDE);
    fitTabRegion();
}

// The description box lies below the tab strip in z-order (it is reached last
// by Tab); the strip leaves its place out so that it never paints over it.
void OptionsDialog::fitTabRegion()
{
    HWND tabs = control(kTabBox);
    HWND description = control(kTxtDescription);
    RECT tabRect{}, hole{};
    GetWindowRect(tabs, &tabRect);
    raii::UniqueRegion region(CreateRectRgn(0, 0, tabRect.right - tabRect.left, tabRect.bottom - tabRect.top));
    if (page_ == kPropertiesPage) {
        GetWindowRect(description, &hole);
        OffsetRect(&hole, -tabRect.left, -tabRect.top);
        raii::UniqueRegion cut(CreateRectRgnIndirect(&hole));
        CombineRgn(region.get(), region.get(), cut.get(), RGN_DIFF);
    }
    SetWindowRgn(tabs, region.release(), TRUE); // the window owns the region from here
}

bool OptionsDialog::onPaint(HDC dc, const RECT&)
{
    raii::UniquePen pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DHILIGHT)));
    raii::Selection selected(dc, pen.get());
    MoveToEx(dc, pixels(90), pixels(kLineTop), nullptr);
    LineTo(dc, pixels(6885), pixels(kLineTop));
    return true;
}

// Shown, not modal, where the form services remembered it (or centred).
void OptionsDialog::openAtPlace()
{
    IDispatch* form = form_.get();
    IDispatch* parent = nullptr;
    VARIANT_BOOL modal = VARIANT_FALSE;
    check(slots::forms().FormOpen(&form, &parent, VARIANT_TRUE, &modal), L"Options:Form_Load");
    SetForegroundWindow(handle());
    UpdateWindow(handle());
}

void OptionsDialog::formLoad()
{
    qcLogging& log = applicationLog();
    log.StartProc(L"Options:Form_Load");
    openAtPlace();
    fillCatalogue();
    show(options::load(librarySettings(), SysProperties()));
    logShown();
    addTooltip(kSysCheckBox0, L"Show SplashScreen");
    addTooltip(kSysCheckBox1, L"Enable Window Animation");
    addTooltip(kSysCheckBox2, L"Enable DLL Debugging (Developers Use)");
    enable(kCmdApply, false);
    exitOnComplete = false;
    log.StopProc(L"", L"Void");
}

void OptionsDialog::fillCatalogue()
{
    HWND list = control(kLstParameters);
    for (const catalogue::Option& option : catalogue::kOptions)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(option.text));
}

void OptionsDialog::show(const options::Values& values)
{
    tick(kChkRandomize, values.randomizePilot);
    setText(kTxtMainExe, values.exePath);
    setText(kTxtParameters, values.parameters);
    for (const KeepSide* side : {&kTaunts, &kLogos}) {
        const options::KeepList& list = values.*(side->values);
        if (list.clear) {
            tick(side->clearBox, true);
            switchClicked(*side);
        }
        for (const std::wstring& entry : list.kept)
            SendMessageW(control(side->list), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    for (int i = 0; i < 3; ++i) tick(kSysCheckBoxes[i], values.system.sysCheckBox[i] == 1);
    setText(kSysBox0, values.system.sysBox[0]);
    setText(kSysBox1, values.system.sysBox[1]);
    for (int i = 0; i < 3; ++i) setText(kUserBoxes[i], values.system.userBox[i + 1]);
}

// What the dialog shows of the shared settings, as it shows them.
void OptionsDialog::logShown()
{
    const struct {
        const wchar_t* post;
        int id;
        bool box;
    } shown[] = {
        {L"RegKey: ShowSplash", kSysCheckBox0, true}, {L"RegKey: WinAnimate", kSysCheckBox1, true},
        {L"RegKey: IsDLLDebugging", kSysCheckBox2, true}, {L"RegKey: Area Code", kSysBox0, false},
        {L"RegKey: Network Port", kSysBox1, false}, {L"RegKey: User Name", kUserBox1, false},
        {L"RegKey: User Company", kUserBox2, false}, {L"RegKey: User EMail", kUserBox3, false},
    };
    for (const auto& row : shown)
        applicationLog().Post(row.post, row.box ? std::wstring(checkText(ticked(row.id))) : text(row.id));
}

std::vector<std::wstring> OptionsDialog::entries(int id) const
{
    HWND list = control(id);
    std::vector<std::wstring> result;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) result.push_back(listEntry(list, i));
    return result;
}

options::Values OptionsDialog::shown() const
{
    options::Values values;
    values.randomizePilot = ticked(kChkRandomize);
    values.exePath = text(kTxtMainExe);
    values.parameters = text(kTxtParameters);
    for (const KeepSide* side : {&kTaunts, &kLogos})
        values.*(side->values) = {ticked(side->clearBox), entries(side->list)};
    for (int i = 0; i < 3; ++i)
        values.system.sysCheckBox[i] = static_cast<int>(SendMessageW(control(kSysCheckBoxes[i]), BM_GETCHECK, 0, 0));
    values.system.sysBox[0] = text(kSysBox0);
    values.system.sysBox[1] = text(kSysBox1);
    for (int i = 0; i < 3; ++i) values.system.userBox[i + 1] = text(kUserBoxes[i]);
    return values;
}

void OptionsDialog::switchClicked(const KeepSide& side)
{
    markDirty();
    const bool on = ticked(side.clearBox);
    enable(side.list, on);
    enable(side.select, on);
}

void OptionsDialog::selectKept(const KeepSide& side)
{
    const std::wstring gameFolder = calls::filePath(options::storedExePath(librarySettings(), side.procedure),
                                                    side.procedure);
    const std::wstring file = calls::openFileName(side.extension, commonDialog_.get(),
                                                  options::keepListFolder(gameFolder, side.folder), side.title,
                                                  side.procedure);
    if (file.empty()) return;
    const std::wstring name = calls::fileTitle(file, true, side.procedure);
    SendMessageW(control(side.list), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

void OptionsDialog::deleteKept(int list)
{
    HWND box = control(list);
    const LRESULT selected = SendMessageW(box, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return;
    SendMessageW(box, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
    SendMessageW(box, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    markDirty();
}

void OptionsDialog::browseForGame()
{
    const std::wstring file = calls::openFileName(L"exe", commonDialog_.get(), L"c:\\", L"Locate MAIN.EXE",
                                                  L"Options:cmdMainExe_Click");
    if (!file.empty() && options::isGameExecutable(file)) setText(kTxtMainExe, file);
}

void OptionsDialog::showDescription()
{
    const LRESULT selected = SendMessageW(control(kLstParameters), LB_GETCURSEL, 0, 0);
    if (selected < 0 || selected >= static_cast<LRESULT>(catalogue::kOptionCount)) return;
    setText(kTxtDescription, catalogue::kOptions[selected].description);
}

void OptionsDialog::prependSelectedOption()
{
    const LRESULT selected = SendMessageW(control(kLstParameters), LB_GETCURSEL, 0, 0);
    if (selected < 0 || selected >= static_cast<LRESULT>(catalogue::kOptionCount)) return;
    setText(kTxtParameters, options::prependOption(catalogue::kOptions[selected].text, text(kTxtParameters)));
    markDirty();
}

void OptionsDialog::commandClick(int id)
{
    qcLogging& log = applicationLog();
    log.StartProc(L"Options:Command(" + std::to_wstring(id) + L")_Click");
    log.Post(L"Command Selected", text(id));
    if (id == kCmdCancel) {
        unload();
    } else {
        options::store(shown(), librarySettings(), SysProperties(), log);
        if (id == kCmdApply) {
            enable(kCmdApply, false);
        } else if (exitOnComplete) {
            log.StopProc(L"", L"Void");
            unloadSteps();
            ShutDown(); // unloads this window: nothing of it may be touched after
            return;
        } else {
            unload();
        }
    }
    log.StopProc(L"", L"Void");
}

void OptionsDialog::unload()
{
    // A failed save is logged; the dialog closes all the same, as nothing else can close it.
    guarded([this] { unloadSteps(); });
    destroy();
}

// What every unload but the refused close box does, once: save both
// collections, then let the form services remember the place.
void OptionsDialog::unloadSteps()
{
    if (unloaded_) return;
    unloaded_ = true;
    SysProperties().Save();
    AppProperties().Save();
    IDispatch* form = form_.get();
    check(slots::forms().FormClose(&form, qcBottom), L"Options:Form_Unload");
}

void OptionsDialog::onDestroy()
{
    guarded([this] { unloadSteps(); });
    if (tooltips_) DestroyWindow(tooltips_);
    tooltips_ = nullptr;
    forms::unloaded(handle());
}

void OptionsDialog::showAbout()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const unsigned long secondsSinceMidnight = now.wHour * 3600UL + now.wMinute * 60UL + now.wSecond;
    const AppIdentity id = currentIdentity();
    raii::ComPtr<ISplashScreen> splash;
    HRESULT hr = CoCreateInstance(CLSID_VantorelSplash, nullptr, CLSCTX_INPROC_SERVER, IID_ISplashScreen,
                                  splash.putVoid());
    if (FAILED(hr)) {
        applicationLog().Post(L"Splash Screen Unavailable", hresultText(hr));
        return;
    }
    splash->Setup(raii::makeBstr(id.baseName).get(), raii::makeBstr(id.title).get(), raii::makeBstr(id.folder).get(),
                  id.major, id.minor, id.revision, 401);
    splash->Number(options::aboutLook(launch::drawUniform(secondsSinceMidnight)));
    splash->SplashSwitch(0);
    splash->Show();
}

void OptionsDialog::onCommand(int id, int notification)
{
    guarded([&] {
        switch (id) {
        case kCmdOK:
        case kCmdCancel:
        case kCmdApply:
            if (notification == BN_CLICKED) commandClick(id);
            return;
        case kChkClearTaunts:
        case kChkClearLogos:
            if (notification == BN_CLICKED) switchClicked(id == kChkClearLogos ? kLogos : kTaunts);
            return;
        case kChkRandomize:
        case kSysCheckBox0:
        case kSysCheckBox1:
        case kSysCheckBox2:
            if (notification == BN_CLICKED) markDirty();
            return;
        case kCmdKeepTaunts:
        case kCmdKeepLogos:
            if (notification == BN_CLICKED) selectKept(id == kCmdKeepLogos ? kLogos : kTaunts);
            return;
        case kCmdMainExe:
            if (notification == BN_CLICKED) browseForGame();
            return;
        case kLogo:
            if (notification == BN_CLICKED) showAbout();
            return;
        case kLstParameters:
            if (notification == LBN_SELCHANGE) showDescription();
            if (notification == LBN_DBLCLK) prependSelectedOption();
            return;
        case kUserBox1:
        case kUserBox2:
        case kUserBox3:
            if (notification == EN_SETFOCUS) PostMessageW(handle(), kSelectAllMessage, static_cast<WPARAM>(id), 0);
            if (notification == EN_CHANGE) markDirty();
            return;
        case kTxtMainExe:
        case kTxtParameters:
        case kSysBox0:
        case kSysBox1:
            if (notification == EN_CHANGE) markDirty();
            return;
        default:
            return;
        }
    });
}

bool OptionsDialog::onTab(HWND window) const
{
    for (const Placed& row : optionsLayout())
        if (row.page != kEveryPage && control(row.control.id) == window) return true;
    return false;
}

LRESULT OptionsDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom == static_cast<UINT_PTR>(kTabBox) && header->code == TCN_SELCHANGE) {
            showPage(static_cast<int>(SendMessageW(control(kTabBox), TCM_GETCURSEL, 0, 0)));
            return 0;
        }
        if (header->code == NM_CUSTOMDRAW && sysBoxes_.owns(header->hwndFrom))
            return sysBoxes_.customDraw(*reinterpret_cast<NMCUSTOMDRAW*>(lParam));
        break;
    }
    case WM_CTLCOLORSTATIC: {
        HWND box = reinterpret_cast<HWND>(lParam);
        if (!onTab(box)) break;
        HDC dc = reinterpret_cast<HDC>(wParam);
        // On the dialog's own colour: a white caption must stand out from a light pane.
        if (sysBoxes_.owns(box)) return sysBoxes_.colourStatic(dc, box);
        SetBkColor(dc, pane_.colour());
        return reinterpret_cast<LRESULT>(pane_.brush());
    }
    case WM_SETCURSOR:
        // Every control asks its parent first when the mouse moves over it; the
        // tab strip lets the mouse through to the dialog outside its tabs.
        if (HIWORD(lParam) == WM_MOUSEMOVE) sysBoxes_.track(reinterpret_cast<HWND>(wParam));
        if (reinterpret_cast<HWND>(wParam) == handle()) break;
        return FALSE;
    case WM_THEMECHANGED:
        pane_.sample(control(kTabBox));
        break;
    case WM_SIZE:
        PostMessageW(handle(), kRefitMessage, 0, 0);
        break;
    case kRefitMessage:
        fitTabRegion();
        return 0;
    case WM_VKEYTOITEM:
        if (LOWORD(wParam) == VK_DELETE) {
            const int list = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (list == kLstTaunts || list == kLstLogos) {
                guarded([&] { deleteKept(list); });
                return -2;
            }
        }
        return -1;
    case kSelectAllMessage: {
        HWND box = control(static_cast<int>(wParam));
        if (box && GetFocus() == box) SendMessageW(box, EM_SETSEL, 0, GetWindowTextLengthW(box));
        return 0;
    }
    case WM_ENDSESSION:
        if (wParam) guarded([this] { unloadSteps(); });
        return 0;
    default:
        break;
    }
    return ui::Window::onMessage(message, wParam, lParam);
}

BOOL CALLBACK findOptionsWindow(HWND window, LPARAM result)
{
    wchar_t name[32] = {};
    GetClassNameW(window, name, ARRAYSIZE(name));
    if (lstrcmpW(name, kOptionsWindowClass) != 0) return TRUE;
    *reinterpret_cast<OptionsDialog**>(result) = static_cast<OptionsDialog*>(ui::Window::from(window));
    return FALSE;
}

// The loaded dialog of this thread, found through its window: the window owns the object.
OptionsDialog* loadedDialog()
{
    OptionsDialog* found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findOptionsWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

void loadOptionsDialog()
{
    if (OptionsDialog* loaded = loadedDialog()) {
        ShowWindow(loaded->handle(), SW_SHOW);
        SetForegroundWindow(loaded->handle());
        return;
    }
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    auto* dialog = new (std::nothrow) OptionsDialog();
    if (!dialog) throw LauncherError(E_OUTOFMEMORY, automation::describeError(automation::kOutOfMemory), L"Options:Form_Load");
    HRESULT hr = dialog->create();
    if (FAILED(hr)) {
        delete dialog;
        check(hr, L"Options:Form_Load");
    }
    forms::loaded(dialog->handle());
    dialog->formLoad();
}

void setExitOnComplete(bool vState)
{
    if (OptionsDialog* loaded = loadedDialog()) loaded->exitOnComplete = vState;
}

} // namespace vantorel
