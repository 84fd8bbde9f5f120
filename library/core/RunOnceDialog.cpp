#include "RunOnceDialog.h"


#include "FormObject.h"
#include "LateBound.h"
#include "RunOnceText.h"
#include "Window.h"
#include "core/qfcLibCoreA.h"
#include "files/qfcLibFilesA.h"
#include "forms/qfcLibFormsA.h"
#include "server/Failure.h"
#include "server/QuillonTypes.h"

namespace quillon::qfcLibCoreA {
namespace {

constexpr long kHeadingHeight = 375;
constexpr long kCloseSpeed = 150;

class RunOnceForm final : public ui::Window {
public:
    RunOnceForm()
        : ui::Window({kRunOnceWindowClass, L"Form1", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, 6495,
                      4800},
                     {
                         // The mask comes first so that it lies over the text box's left edge.
                         {kRoMask, ui::Kind::Label, L"", 45, 515, 30, 3835, 0, 0},
                         {kRunOnceText, ui::Kind::MultiLineText, L"", 45, 515, 6250, 3835,
                          ES_READONLY | WS_CLIPSIBLINGS, 1},
                         {kRoWelcome, ui::Kind::Label, L"RunOnceWelcome", 45, 45, 6250, kHeadingHeight, 0, 0},
                         {kRoBox, ui::Kind::Etched, L"", 15, 15, 6310, 435, 0, 0},
                     })
    {
    }

    IDispatch* form() const { return form_.get(); }

    void arrange(long width, long height)
    {
        const long textTop = kHeadingHeight + 140;
        const long textHeight = height - textTop - 450;
        place(kRoWelcome, 45, 45, width - 245, kHeadingHeight);
        place(kRunOnceText, 45, textTop, width - 245, textHeight);
        place(kRoMask, 45, textTop, 30, textHeight);
    }

private:
    void onCreate() override
    {
        form_ = raii::ComPtr<IDispatch>::attach(ui::createFormObject(handle(), L"frmRunOnce"));
        LOGFONTW look{};
        GetObjectW(font(), sizeof(look), &look);
        look.lfWeight = FW_BOLD;
        look.lfHeight = look.lfHeight * 4 / 3;
        headingFont_.reset(CreateFontIndirectW(&look));
        SendMessageW(control(kRoWelcome), WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_.get()), FALSE);
    }

    // Closing: the controls go, then the window shrinks away to the bottom.
    bool onClose() override
    {
        for (int id : {kRoBox, kRunOnceText, kRoMask, kRoWelcome}) ShowWindow(control(id), SW_HIDE);
        qfcLibFormsA::CloseWindow(form_.get(), qcBottom, kCloseSpeed);
        return true;
    }

    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        // The read-only text and its mask share the window colour.
        if (message == WM_CTLCOLORSTATIC) {
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (id == kRunOnceText || id == kRoMask) {
                SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            }
        }
        return ui::Window::onMessage(message, wParam, lParam);
    }

    raii::ComPtr<IDispatch> form_;
    raii::UniqueFont headingFont_;
};

// At most the first kMaxFileBytes: a read-me of hundreds of megabytes would
// hold the first start for minutes.
std::wstring readTextFile(const CheckedName& name)
{
    if (!qfcLibFilesA::FileExists(name)) return {};
    raii::UniqueFile file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    std::string bytes(runonce::kMaxFileBytes, '\0');
    size_t filled = 0;
    DWORD read = 0;
    while (filled < bytes.size() &&
           ReadFile(file.get(), bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled), &read, nullptr) &&
           read > 0)
        filled += read;
    bytes.resize(filled);
    LARGE_INTEGER size{};
    const bool cut = GetFileSizeEx(file.get(), &size) && static_cast<unsigned long long>(size.QuadPart) > filled;
    if (!cut) return runonce::withLineBreaks(runonce::decodeText(bytes));
    return runonce::withLineBreaks(runonce::decodeText(runonce::wholeCharacters(bytes))) + runonce::kCutNote + L"\r\n";
}

// Each step may fail on its own (its failure recorded); the next one still runs.
template <class Step>
void attempt(Step&& step)
{
    failure::trapAll(step);
}

} // namespace

void ShowRunOnceDialog(const std::wstring& vDialogText, const NameIfWhole& vDialogFileName,
                       const std::wstring& vHeadingText, const std::wstring& vFormCaption, long vFormWidth,
                       long vFormHeight)
{
    const std::wstring appTitle = Context().AppTitle;
    const std::wstring heading = runonce::heading(vHeadingText, appTitle);
    const std::wstring caption = runonce::caption(vFormCaption, appTitle);
    const long width = runonce::usableWidth(vFormWidth), height = runonce::usableHeight(vFormHeight);
    std::wstring text = vDialogText;
    if (text.empty()) {
        if (vDialogFileName && vDialogFileName->empty()) return;
        if (vDialogFileName) attempt([&] { text = readTextFile(*vDialogFileName); });
    }

    RunOnceForm window;
    if (FAILED(window.create())) return;
    latebound::Object form(window.form());
    attempt([&] { form.put(L"Width", width); });
    attempt([&] { form.put(L"Height", height); });
    window.arrange(width, height);
    SetWindowTextW(window.control(kRunOnceText), text.c_str());
    SetWindowTextW(window.control(kRoWelcome), heading.c_str());
    SetWindowTextW(window.handle(), caption.c_str());
    attempt([&] { qfcLibFormsA::CenterForm(window.form(), nullptr); });
    // On top while it is shown (a closed window has no place in the order).
    attempt([&] { qfcLibFormsA::BringWindowToFront(window.form(), qcStayOnTop); });
    form.call(L"Show", latebound::Args().i2(1));
}

} // namespace quillon::qfcLibCoreA
