#include "app/Unit1.h"

#include "app/Layout.h"
#include "info/AboutBox_win.h"
#include "info/HelpPage_win.h"
#include "platform/Dpi.h"
#include "platform/Win32Error.h"
#include "services/AppInfo.h"
#include "services/ModalGuard_win.h"
#include "services/Random.h"
#include "services/StartTrace_win.h"
#include "shortcuts/ReceivedFile_win.h"
#include "shortcuts/ShortcutToggle_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <array>
#include <iterator>

namespace app {

// Windows is ending the session: the close asks no question.
bool SessionEnding = false;

namespace {

constexpr wchar_t FormClass[] = L"TForm1";
constexpr wchar_t PageClass[] = L"TTabSheet";

// Design sizes, in pixels at 96 DPI.
constexpr RECT DesignBounds{398, 375, 398 + 280, 375 + 280};
constexpr int MinimumWidth = 280;
constexpr int MinimumHeight = 280;
constexpr int PanelInset = 3;
constexpr int ControlInset = 3;
constexpr int GroupBox1TopMargin = 8;
constexpr int FontHeight = -11;
constexpr wchar_t FontName[] = L"Meiryo UI";

enum class Kind { Button, CheckBox };

// The grid panels that hold buttons and check boxes, by their percentages.
struct GridPanel {
    std::array<double, 2> columnStore;
    int columnCount;
    std::array<double, 5> rowStore;
    int rowCount;

    std::span<const double> Columns() const { return {columnStore.data(), size_t(columnCount)}; }
    std::span<const double> Rows() const { return {rowStore.data(), size_t(rowCount)}; }
};

constexpr GridPanel GridPanel1{{100}, 1, {25, 25, 25, 25}, 4};
constexpr GridPanel GridPanel5{{100}, 1, {68.73960643931483, 31.26039356068517}, 2};
constexpr GridPanel GridPanel4{
    {100}, 1, {33.33333333333334, 33.33333333333334, 33.33333333333331}, 3};
constexpr GridPanel GridPanel3{{50, 50}, 2, {100}, 1};
constexpr GridPanel GridPanel2{{50, 50}, 2, {20, 20, 20, 20, 20}, 5};

enum Page { PageSendTo, PageSettings, PageHelp, PageCount };

// The group boxes of the settings page, each in a row of GridPanel5.
struct GroupBoxSpec {
    HWND TForm1::*member;
    const wchar_t* caption;
    int row;
    int topMargin;
};
constexpr GroupBoxSpec StartupGroup{&TForm1::GroupBox2, L"起動ショートカット", 0, 0};
constexpr GroupBoxSpec OnCloseGroup{&TForm1::GroupBox1, L"終了時", 1, GroupBox1TopMargin};

struct Component {
    HWND TForm1::*member;
    Kind kind;
    int page;
    const GroupBoxSpec* group; // nullptr: on the page itself
    const GridPanel* panel;
    int column;
    int row;
    const wchar_t* caption;
    const wchar_t* tooltip;
    bool isDefault;
    void (TForm1::*click)();
};

// In tab order within each page.
const Component Components[] = {
    {&TForm1::ButtonSelectProgram, Kind::Button, PageSendTo, nullptr, &GridPanel1, 0, 0,
     L"プログラムを「送る」に登録・削除", L"Program for SendTo", true,
     &TForm1::ButtonSelectProgramClick},
    {&TForm1::ButtonSelectFolder, Kind::Button, PageSendTo, nullptr, &GridPanel1, 0, 1,
     L"フォルダを「送る」に登録・削除", L"Folder for SendTo", false,
     &TForm1::ButtonSelectFolderClick},
    {&TForm1::ButtonOpenSendToFolder, Kind::Button, PageSendTo, nullptr, &GridPanel1, 0, 2,
     L"「送る」フォルダを開く", L"Open SendTo folder", false, &TForm1::ButtonOpenSendToFolderClick},
    {&TForm1::ButtonSendTo, Kind::Button, PageSendTo, nullptr, &GridPanel1, 0, 3,
     L"自分を「送る」に登録・削除", L"ShortCut for SendTo", false, &TForm1::ButtonSendToClick},
    {&TForm1::ButtonDeskTop, Kind::Button, PageSettings, &StartupGroup, &GridPanel4, 0, 0,
     L"デスクトップに登録・削除", L"ShortCut for DeskTop", false, &TForm1::ButtonDeskTopClick},
    {&TForm1::ButtonStartMenu, Kind::Button, PageSettings, &StartupGroup, &GridPanel4, 0, 1,
     L"スタートメニューに登録・削除", L"ShortCut for StartMenu", false,
     &TForm1::ButtonStartMenuClick},
    {&TForm1::ButtonStartUp, Kind::Button, PageSettings, &StartupGroup, &GridPanel4, 0, 2,
     L"スタートアップに登録・削除", L"ShortCut for StartUp", false, &TForm1::ButtonStartUpClick},
    {&TForm1::CheckBoxCloseQuery, Kind::CheckBox, PageSettings, &OnCloseGroup, &GridPanel3, 0, 0,
     L"確認する", L"Querry at close", false, nullptr},
    {&TForm1::CheckBoxSaveStatus, Kind::CheckBox, PageSettings, &OnCloseGroup, &GridPanel3, 1, 0,
     L"状態を保存する", L"Save status", false, nullptr},
    {&TForm1::ButtonHelp, Kind::Button, PageHelp, nullptr, &GridPanel2, 0, 0, L"ヘルプ表示",
     L"Help (F1)", true, &TForm1::ButtonHelpClick},
    {&TForm1::ButtonAbout, Kind::Button, PageHelp, nullptr, &GridPanel2, 0, 1, L"バージョン情報",
     L"About (Ctrl+Enter)", false, &TForm1::ButtonAboutClick},
    {&TForm1::ButtonProperties, Kind::Button, PageHelp, nullptr, &GridPanel2, 0, 2,
     L"プロパティ表示", L"Properties (Alt+Enter)", false, &TForm1::ButtonPropertiesClick},
    {&TForm1::ButtonDonation, Kind::Button, PageHelp, nullptr, &GridPanel2, 0, 3, L"開発支援",
     L"Donation", false, &TForm1::ButtonDonationClick},
    {&TForm1::ButtonHomeSite, Kind::Button, PageHelp, nullptr, &GridPanel2, 0, 4, L"ホームページ",
     L"HomeSite", false, &TForm1::ButtonHomeSiteClick},
};

constexpr int FirstComponentId = 100;

struct PageSpec {
    HWND TForm1::*member;
    const wchar_t* caption;
};
const PageSpec Pages[PageCount] = {
    {&TForm1::TabSheetSendTo, L"送る"},
    {&TForm1::TabSheetSettings, L"設 定"},
    {&TForm1::TabSheetHelp, L"ヘルプ"},
};

void Place(HWND window, const Rect& rect) {
    SetWindowPos(window, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// Where the group boxes and components lie on a page of that size, at that resolution and with
// that height of text.
class PageLayout {
public:
    PageLayout(const Rect& page, int dpi, int textHeight)
        : dpi_(dpi), textHeight_(textHeight), inset_(Scale(PanelInset, dpi)),
          panelArea_(Inset({0, 0, page.Width(), page.Height()}, inset_, inset_, inset_, inset_)) {}

    Rect GroupBox(const GroupBoxSpec& group) const {
        return Inset(GridCell(panelArea_, GridPanel5.Columns(), GridPanel5.Rows(), 0, group.row), 0,
                     Scale(group.topMargin, dpi_), 0, 0);
    }

    Rect Control(const Component& component) const {
        Rect area = panelArea_;
        if (component.group != nullptr) {
            // A group box's client area lies below its caption and inside its frame.
            const int frame = Scale(2, dpi_);
            const Rect inside =
                Inset(GroupBox(*component.group), frame, textHeight_ + frame, frame, frame);
            area = Inset(inside, inset_, inset_, inset_, inset_);
        }
        const Rect cell = GridCell(area, component.panel->Columns(), component.panel->Rows(),
                                   component.column, component.row);
        const int margin = Scale(ControlInset, dpi_);
        return Inset(cell, margin, margin, margin, margin);
    }

private:
    int dpi_;
    int textHeight_;
    int inset_;
    Rect panelArea_;
};

// What DragAcceptFiles does, without loading shell32 for it at every start and close.
void AcceptDroppedFiles(HWND window, bool accept) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    SetWindowLongPtrW(window, GWL_EXSTYLE,
                      accept ? style | WS_EX_ACCEPTFILES : style & ~LONG_PTR{WS_EX_ACCEPTFILES});
}

bool IsAltGrDown() {
    // Windows reports AltGr as the right Alt key together with the left Ctrl key.
    return GetKeyState(VK_RMENU) < 0 && GetKeyState(VK_LCONTROL) < 0;
}

} // namespace

TForm1::TForm1(services::Application& application)
    : Registration(application, Shortcuts), application_(application) {
    const HINSTANCE module = application_.Module();

    application_.RegisterWindowClass(
        FormClass, &TForm1::WindowProc,
        static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(2), IMAGE_ICON, 16, 16, 0)));
    application_.RegisterWindowClass(PageClass, &TForm1::PageProc);

    services::StartTrace("window-classes");

    // WS_EX_COMPOSITED paints the window and all its children through one back buffer, so
    // nothing flickers while the window is resized.
    platform::ThrowIfNull(
        CreateWindowExW(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT | WS_EX_COMPOSITED, FormClass, L"",
                        WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, DesignBounds.left, DesignBounds.top,
                        DesignBounds.right - DesignBounds.left,
                        DesignBounds.bottom - DesignBounds.top, nullptr, nullptr, module, this));

    services::StartTrace("window");
    // The window knows its monitor's resolution only once it exists; its components are made
    // later, at that resolution.
    dpi_ = platform::WindowDpi(handle_);
    if (dpi_ != 96) {
        SetWindowPos(handle_, nullptr, 0, 0, Scaled(DesignBounds.right - DesignBounds.left),
                     Scaled(DesignBounds.bottom - DesignBounds.top),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    application_.SetMainWindow(handle_,
                               [this](MSG& message) { return PreTranslateMessage(message); });
    application_.Guard([this] { FormCreate(); });
}

TForm1::~TForm1() {
    if (IsWindow(handle_)) {
        DestroyWindow(handle_);
    }
}

void TForm1::Show() {
    // Already done unless the start failed before the settings were applied.
    if (PageControl1 == nullptr) {
        CreateComponents();
    }
    const int command = WindowState == 2   ? SW_SHOWMAXIMIZED
                        : WindowState == 1 ? SW_SHOWMINIMIZED
                                           : SW_SHOWNORMAL;
    ShowWindow(handle_, command);
    UpdateWindow(handle_);
    keepSize_ = false;
    if (WindowState != 1) {
        SetFocus(ButtonSelectProgram);
    }
}

LRESULT CALLBACK TForm1::WindowProc(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<TForm1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->handle_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<TForm1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    form->application_.Guard([&] { result = form->HandleMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        form->handle_ = nullptr;
    }
    return result;
}

LRESULT CALLBACK TForm1::PageProc(HWND window, UINT message, WPARAM wParam,
                                  LPARAM lParam) noexcept {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
        // Pages only hold the components; the form handles what they report.
        return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_SETCURSOR: {
        const auto child = reinterpret_cast<HWND>(wParam);
        const LONG_PTR type = GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK;
        if (child != window && LOWORD(lParam) == HTCLIENT && type != BS_GROUPBOX) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        dpi_ = platform::WindowDpi(handle_);
        return 0;
    case WM_SIZE:
        if (componentsCreated_) {
            LayoutComponents();
        }
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {Scaled(MinimumWidth), Scaled(MinimumHeight)};
        return 0;
    }
    case WM_GETDPISCALEDSIZE:
        // The size Windows is about to give the window, in lParam, is the one it keeps.
        return keepSize_ ? TRUE : DefWindowProcW(handle_, message, wParam, lParam);
    case WM_DPICHANGED:
        WMDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            RunClick(LOWORD(wParam));
        } else if (HIWORD(wParam) == BN_SETFOCUS) {
            UpdateDefaultButton(reinterpret_cast<HWND>(lParam));
        }
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == PageControl1 && header->code == TCN_SELCHANGE) {
            ShowPage(TabCtrl_GetCurSel(PageControl1));
        }
        return 0;
    }
    case WM_ACTIVATE:
        WMActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_CLOSE:
        if (RunCloseQuery()) {
            DestroyWindow(handle_);
        }
        return 0;
    case WM_QUERYENDSESSION: {
        LRESULT result = 0;
        WMQueryEndSession(result);
        return result;
    }
    case WM_ENDSESSION:
        // Windows ends the process once this returns: a write given up takes its temporary
        // file out of the user's folder first.
        if (wParam) {
            shortcuts::EndShortcutWrites();
        }
        return 0;
    case WM_DROPFILES:
        if (!RunCommand([&] { WMDropFiles(reinterpret_cast<HDROP>(wParam)); })) {
            DragFinish(reinterpret_cast<HDROP>(wParam));
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(handle_, message, wParam, lParam);
    }
}

void TForm1::WMDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    if (componentsCreated_) {
        ApplyFont();
    }
    if (!keepSize_) {
        SetWindowPos(handle_, nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (componentsCreated_) {
        LayoutComponents();
    }
}

void TForm1::WMActivate(bool active) {
    // Like a dialog: the focused component keeps the focus across deactivation.
    if (!active) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(handle_, focus)) {
            savedFocus_ = focus;
        }
    } else if (savedFocus_ != nullptr && IsWindowVisible(savedFocus_)) {
        SetFocus(savedFocus_);
    } else if (!IsIconic(handle_)) {
        SetFocus(ButtonSelectProgram);
    }
}

void TForm1::CreateComponents() {
    const HINSTANCE module = application_.Module();
    MakeFont();
    const auto font = reinterpret_cast<WPARAM>(font_.get());
    // Each component is made where the layout puts it in the window's size now: placing some
    // twenty windows a second time would only slow the start.
    auto create = [&](DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                      const Rect& rect, HWND parent, int id) {
        const HWND made = platform::ThrowIfNull(CreateWindowExW(
            exStyle, className, text, style, rect.left, rect.top, rect.Width(), rect.Height(),
            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, nullptr));
        SendMessageW(made, WM_SETFONT, font, FALSE);
        return made;
    };

    RECT client{};
    GetClientRect(handle_, &client);
    PageControl1 = create(0, WC_TABCONTROLW, L"",
                          WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_FIXEDWIDTH | TCS_FOCUSNEVER,
                          {0, 0, client.right, client.bottom}, handle_, 0);
    for (int index = 0; index < PageCount; ++index) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(Pages[index].caption);
        TabCtrl_InsertItem(PageControl1, index, &item);
    }
    const Rect pages = PageArea();
    for (int index = 0; index < PageCount; ++index) {
        this->*Pages[index].member = create(
            WS_EX_CONTROLPARENT, PageClass, Pages[index].caption,
            WS_CHILD | WS_CLIPSIBLINGS | (index == PageSendTo ? WS_VISIBLE : 0), pages, handle_, 0);
    }
    // The pages lie over the tab control's display area; the tab control stays beneath them.
    SetWindowPos(PageControl1, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    services::StartTrace("pages");

    ToolTips = platform::ThrowIfNull(
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, handle_, nullptr, module, nullptr));
    SendMessageW(ToolTips, WM_SETFONT, font, FALSE);

    const PageLayout layout(pages, dpi_, textHeight_);
    int id = FirstComponentId;
    int previousPage = -1;
    for (const Component& component : Components) {
        const HWND parent = this->*Pages[component.page].member;
        // Group boxes come before what they hold, so that tab order follows the design.
        const GroupBoxSpec* group = component.group;
        if (group != nullptr && this->*group->member == nullptr) {
            this->*group->member =
                create(0, WC_BUTTONW, group->caption, WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
                       layout.GroupBox(*group), parent, 0);
        }
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY;
        style |= component.kind == Kind::CheckBox ? BS_AUTOCHECKBOX
                 : component.isDefault            ? BS_DEFPUSHBUTTON
                                                  : BS_PUSHBUTTON;
        if (component.page != previousPage) {
            style |= WS_GROUP;
            previousPage = component.page;
        }
        const HWND control = create(0, WC_BUTTONW, component.caption, style,
                                    layout.Control(component), parent, id++);
        this->*component.member = control;

        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        // No TTF_SUBCLASS: PreTranslateMessage relays the mouse messages instead, which spares
        // the start a window procedure and a property set on every component.
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = parent;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = const_cast<wchar_t*>(component.tooltip);
        SendMessageW(ToolTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    laidOutSize_ = {client.right, client.bottom};
    componentsCreated_ = true;
    services::StartTrace("components");
}

int TForm1::Scaled(int length) const {
    return Scale(length, dpi_);
}

bool TForm1::MakeFont() {
    platform::UniqueFont font(CreateFontW(Scaled(FontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                          FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                          DEFAULT_PITCH | FF_DONTCARE, FontName));
    if (!font) {
        return false;
    }
    TEXTMETRICW metrics{};
    {
        const platform::WindowDC context = platform::AcquireDC(handle_);
        const platform::SelectedObject selected = platform::Select(context.get(), font.get());
        GetTextMetricsW(context.get(), &metrics);
    }
    textHeight_ = metrics.tmHeight;
    font_ = std::move(font);
    return true;
}

void TForm1::ApplyFont() {
    if (!MakeFont()) {
        return;
    }
    // The new text height moves the components even where the size stays.
    laidOutSize_ = {-1, -1};
    EnumChildWindows(
        handle_,
        [](HWND child, LPARAM newFont) noexcept -> BOOL {
            SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(newFont), FALSE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font_.get()));
    SendMessageW(ToolTips, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

Rect TForm1::PageArea() {
    FormResize();
    RECT display{};
    GetClientRect(PageControl1, &display);
    TabCtrl_AdjustRect(PageControl1, FALSE, &display);
    return {display.left, display.top, display.right, display.bottom};
}

void TForm1::LayoutComponents() {
    RECT client{};
    GetClientRect(handle_, &client);
    // The settings and the first showing each report a size; placing some twenty windows again
    // for the same one would only slow the start.
    if (client.right == laidOutSize_.cx && client.bottom == laidOutSize_.cy) {
        return;
    }
    laidOutSize_ = {client.right, client.bottom};
    MoveWindow(PageControl1, 0, 0, client.right, client.bottom, FALSE);
    const Rect pages = PageArea();
    for (const PageSpec& page : Pages) {
        Place(this->*page.member, pages);
    }
    const PageLayout layout(pages, dpi_, textHeight_);
    for (const GroupBoxSpec* group : {&StartupGroup, &OnCloseGroup}) {
        Place(this->*group->member, layout.GroupBox(*group));
    }
    for (const Component& component : Components) {
        Place(this->*component.member, layout.Control(component));
    }
    if (IsWindowVisible(handle_)) {
        RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
    }
}

void TForm1::FormResize() {
    RECT client{};
    GetClientRect(PageControl1, &client);
    // The tab height follows the font, so that the captions fit at every resolution.
    SendMessageW(PageControl1, TCM_SETITEMSIZE, 0,
                 MAKELPARAM(TabWidth(client.right, PageCount), textHeight_ + Scaled(6)));
}

void TForm1::FormCreate() {
    LARGE_INTEGER counter{};
    services::Randomize(QueryPerformanceCounter(&counter)
                            ? static_cast<std::uint64_t>(counter.QuadPart)
                            : GetTickCount64());
    application_.SetTitle(std::wstring(services::AppTitle));
    SetWindowTextW(handle_, application_.Title().c_str());
    application_.OnMessage = [this](MSG& message, bool& handled) {
        AppMessageFilter(message, handled);
    };
    AcceptDroppedFiles(handle_, true);
    services::StartTrace("drop-target");
    const settings::FormSettings loaded = LoadSettings();
    services::StartTrace("settings");
    // The window has the size it is shown at, so the components are made in their places, and
    // before any box of the command line can show.
    CreateComponents();
    Button_SetCheck(CheckBoxCloseQuery, loaded.closeQuery ? BST_CHECKED : BST_UNCHECKED);
    Button_SetCheck(CheckBoxSaveStatus, loaded.saveStatus ? BST_CHECKED : BST_UNCHECKED);
    SessionEnding = false;
    shortcuts::ReceiveCommandLine(application_, Shortcuts, GetCommandLineW());
    services::StartTrace("command-line");
    SelectPage(PageSendTo);
    // None handled for the button yet, whatever the command line did: it opens the SendTo
    // folder, whose path it finds when pressed (the shell is not loaded for it at start).
    Shortcuts.LastShortcutPath.clear();
    services::StartTrace("first-page");
}

void TForm1::FormCloseQuery(bool& canClose) {
    if (SessionEnding) {
        SessionEnding = false;
    } else if (Button_GetCheck(CheckBoxCloseQuery) == BST_CHECKED &&
               application_.ShowMessageBox(std::wstring(services::CloseQuestion),
                                           MB_YESNO | MB_ICONQUESTION) == IDNO) {
        canClose = false;
        return;
    }
    SaveSettings();
    AcceptDroppedFiles(handle_, false);
}

bool TForm1::RunCloseQuery() {
    // A failed save is reported and the close goes ahead all the same: the user asked to
    // close, and the settings of this close are lost either way.
    bool canClose = true;
    application_.Guard([&] { FormCloseQuery(canClose); });
    return canClose;
}

void TForm1::Close1Click() {
    SendMessageW(handle_, WM_CLOSE, 0, 0);
}

void TForm1::WMQueryEndSession(LRESULT& result) {
    SessionEnding = true;
    result = RunCloseQuery() ? 1 : 0;
}

void TForm1::RunClick(int id) {
    const int index = id - FirstComponentId;
    if (index < 0 || index >= static_cast<int>(std::size(Components))) {
        return;
    }
    if (const auto click = Components[index].click) {
        RunCommand([&] { (this->*click)(); });
    }
}

void TForm1::RunMenuCommand(MenuCommand command) {
    switch (command) {
    case MenuCommand::Help:
        RunCommand([this] { ButtonHelpClick(); });
        break;
    case MenuCommand::About:
        RunCommand([this] { ButtonAboutClick(); });
        break;
    case MenuCommand::Properties:
        RunCommand([this] { ButtonPropertiesClick(); });
        break;
    case MenuCommand::Close:
        RunCommand([this] { Close1Click(); });
        break;
    }
}

int TForm1::ActivePage() const {
    return TabCtrl_GetCurSel(PageControl1);
}

void TForm1::SelectPage(int index) {
    TabCtrl_SetCurSel(PageControl1, index);
    ShowPage(index);
}

void TForm1::ShowPage(int index) {
    for (int page = 0; page < PageCount; ++page) {
        ShowWindow(this->*Pages[page].member, page == index ? SW_SHOWNA : SW_HIDE);
    }
    // The focus moves to the first component of the page shown, as it would in a dialog.
    const HWND focus = GetFocus();
    const HWND shown = this->*Pages[index].member;
    if (IsWindowVisible(handle_) && (focus == nullptr || !IsChild(shown, focus))) {
        SetFocus(GetNextDlgTabItem(shown, nullptr, FALSE));
    }
}

void TForm1::PressEnter() {
    const HWND focus = GetFocus();
    for (const Component& component : Components) {
        if (component.kind == Kind::Button && this->*component.member == focus) {
            RunClick(GetDlgCtrlID(focus));
            return;
        }
    }
    const int page = ActivePage();
    for (const Component& component : Components) {
        if (component.page == page && component.isDefault) {
            RunClick(GetDlgCtrlID(this->*component.member));
            return;
        }
    }
}

void TForm1::UpdateDefaultButton(HWND focused) {
    // The focused button shows itself as the one Enter presses; otherwise the page's default.
    const bool buttonFocused =
        (GetWindowLongPtrW(focused, GWL_STYLE) & BS_TYPEMASK) <= BS_DEFPUSHBUTTON;
    for (const Component& component : Components) {
        if (component.kind != Kind::Button) {
            continue;
        }
        const HWND button = this->*component.member;
        const bool isDefault = buttonFocused ? button == focused : component.isDefault;
        SendMessageW(button, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

bool TForm1::PreTranslateMessage(MSG& message) {
    if (handle_ == nullptr || (message.hwnd != handle_ && !IsChild(handle_, message.hwnd))) {
        return false;
    }
    if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) {
        SendMessageW(ToolTips, TTM_RELAYEVENT, static_cast<WPARAM>(GetMessageExtraInfo()),
                     reinterpret_cast<LPARAM>(&message));
    }
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
        const ModifierKeys modifiers{GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                                     GetKeyState(VK_MENU) < 0, IsAltGrDown()};
        const auto value = ShortcutValue(static_cast<unsigned>(message.wParam), modifiers);
        if (value) {
            if (const MenuItem* item = FindShortcut(*value)) {
                RunMenuCommand(item->command);
                return true;
            }
        }
        if (message.wParam == VK_RETURN) {
            if (!modifiers.shift && !modifiers.ctrl && !modifiers.alt) {
                PressEnter();
            }
            return true;
        }
        if (modifiers.ctrl && !modifiers.alt &&
            (message.wParam == VK_TAB || message.wParam == VK_NEXT || message.wParam == VK_PRIOR)) {
            const bool back =
                message.wParam == VK_PRIOR || (message.wParam == VK_TAB && modifiers.shift);
            SelectPage((ActivePage() + (back ? PageCount - 1 : 1)) % PageCount);
            return true;
        }
    }
    return IsDialogMessageW(handle_, &message) != FALSE;
}

settings::FormSettings TForm1::LoadSettings() {
    const settings::FormSettings loaded = settingsFile_.Load(handle_, WindowState);
    WindowState = loaded.windowState;
    // The window was made on the primary monitor; the components are made for the one it is on
    // now, and its minimum size is that monitor's.
    dpi_ = platform::WindowDpi(handle_);
    const settings::Placement& saved = loaded.placement;
    const Size size = PlacedSize({saved.left, saved.top, saved.right, saved.bottom},
                                 {MinimumWidth, MinimumHeight}, dpi_);
    RECT bounds{};
    GetWindowRect(handle_, &bounds);
    if (size != Size{bounds.right - bounds.left, bounds.bottom - bounds.top}) {
        SetWindowPos(handle_, nullptr, 0, 0, size.width, size.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return loaded;
}

void TForm1::SaveSettings() {
    settingsFile_.Save(handle_, Button_GetCheck(CheckBoxCloseQuery) == BST_CHECKED,
                       Button_GetCheck(CheckBoxSaveStatus) == BST_CHECKED);
}

void TForm1::ButtonSendToClick() {
    Registration.RegisterSelf(shortcuts::SendToFolder);
}

void TForm1::ButtonSelectProgramClick() {
    Registration.RegisterProgram();
}

void TForm1::ButtonSelectFolderClick() {
    Registration.RegisterFolder();
}

void TForm1::ButtonOpenSendToFolderClick() {
    Registration.OpenSendToFolder();
}

void TForm1::ButtonDeskTopClick() {
    Registration.RegisterSelf(shortcuts::DesktopFolder);
}

void TForm1::ButtonStartMenuClick() {
    Registration.RegisterSelf(shortcuts::ProgramsFolder);
}

void TForm1::ButtonStartUpClick() {
    Registration.RegisterSelf(shortcuts::StartupFolder);
}

void TForm1::AppMessageFilter(MSG& message, bool& handled) {
    // A drop reaches the window through the hook, which brings a minimised window back first.
    if (message.hwnd != handle_ || message.message != WM_DROPFILES) {
        return;
    }
    SendMessageW(handle_, WM_DROPFILES, message.wParam, message.lParam);
    application_.Restore();
    handled = true;
}

void TForm1::WMDropFiles(HDROP drop) {
    shortcuts::ReceiveDroppedFiles(application_, Shortcuts, drop);
}

void TForm1::ButtonHelpClick() {
    info::ShowHelp(application_, handle_);
}

void TForm1::ButtonAboutClick() {
    info::ShowAboutBox(application_, handle_);
}

void TForm1::ButtonPropertiesClick() {
    info::ShowFileProperties(handle_, services::Application::ExeName());
}

void TForm1::ButtonDonationClick() {
    info::OpenDonationPage(handle_);
}

void TForm1::ButtonHomeSiteClick() {
    info::OpenHomePage(handle_);
}

} // namespace app
