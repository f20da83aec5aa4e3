// The second yardstick of the start-up benchmark: the same platform start, then only what
// Tavimbo's first page shows at its first start, laid out as Tavimbo lays it out at 96 DPI: the
// tab control with its three tabs and the SendTo page's four buttons, in the same font.
#include "app/Layout.h"
#include "bench/Yardstick.h"
#include "services/StartTrace_win.h"

#include <commctrl.h>

#include <array>

namespace {

constexpr std::array<const wchar_t*, 3> Tabs{L"送る", L"設 定", L"ヘルプ"};
constexpr std::array<const wchar_t*, 4> Buttons{
    L"プログラムを「送る」に登録・削除", L"フォルダを「送る」に登録・削除",
    L"「送る」フォルダを開く", L"自分を「送る」に登録・削除"};
constexpr std::array<double, 1> Columns{100};
constexpr std::array<double, 4> Rows{25, 25, 25, 25};
constexpr int Inset = 3; // the page's panel and each button alike

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    services::StartTrace("entry");
    const bench::PlatformStart start;
    services::StartTrace("platform");
    // Tavimbo's size at its first start: a square of a third of the work area's height.
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const int side = (workArea.bottom - workArea.top) / 3;
    const HWND window = bench::CreateMainWindow(instance, L"FirstPage", {side, side});
    if (window == nullptr) {
        return 1;
    }
    services::StartTrace("window");
    const platform::UniqueFont font(CreateFontW(
        -11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Meiryo UI"));
    TEXTMETRICW metrics{};
    {
        const platform::WindowDC context = platform::AcquireDC(window);
        const platform::SelectedObject selected = platform::Select(context.get(), font.get());
        GetTextMetricsW(context.get(), &metrics);
    }
    const auto fontParameter = reinterpret_cast<WPARAM>(font.get());

    RECT client{};
    GetClientRect(window, &client);
    const HWND tabs =
        CreateWindowExW(0, WC_TABCONTROLW, L"",
                        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_FIXEDWIDTH | TCS_FOCUSNEVER,
                        0, 0, client.right, client.bottom, window, nullptr, instance, nullptr);
    SendMessageW(tabs, WM_SETFONT, fontParameter, FALSE);
    for (int index = 0; index < static_cast<int>(Tabs.size()); ++index) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(Tabs[index]);
        TabCtrl_InsertItem(tabs, index, &item);
    }
    SendMessageW(tabs, TCM_SETITEMSIZE, 0,
                 MAKELPARAM(app::TabWidth(client.right, Tabs.size()), metrics.tmHeight + 6));
    RECT display = client;
    TabCtrl_AdjustRect(tabs, FALSE, &display);
    const app::Rect panel = app::Inset({display.left, display.top, display.right, display.bottom},
                                       Inset, Inset, Inset, Inset);

    HWND first = nullptr;
    for (int row = 0; row < static_cast<int>(Buttons.size()); ++row) {
        const app::Rect cell =
            app::Inset(app::GridCell(panel, Columns, Rows, 0, row), Inset, Inset, Inset, Inset);
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY |
                            (row == 0 ? WS_GROUP | BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        const HWND button =
            CreateWindowExW(0, WC_BUTTONW, Buttons[row], style, cell.left, cell.top, cell.Width(),
                            cell.Height(), window, nullptr, instance, nullptr);
        SendMessageW(button, WM_SETFONT, fontParameter, FALSE);
        first = first != nullptr ? first : button;
    }
    // The buttons lie over the tab control's display area, as Tavimbo's page does.
    SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    services::StartTrace("first-page");
    return bench::ShowAndRun(window, showCommand, first);
}
