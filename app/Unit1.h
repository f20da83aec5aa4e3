#pragma once

#include <windows.h>
#include <shobjidl.h>

#include "app/Layout.h"
#include "app/ShortcutKeys.h"
#include "platform/Handles.h"
#include "services/Application_win.h"
#include "services/ModalGuard_win.h"
#include "settings/FormSettings_win.h"
#include "shortcuts/RegistrationCommands_win.h"
#include "shortcuts/ShortcutToggle.h"

namespace app {

// The main window: its components and their layout, keys and closing. Each button's handler
// calls the feature that does the work.
class TForm1 {
public:
    explicit TForm1(services::Application& application);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    HWND Handle() const { return handle_; }

    // Makes the window visible in the state the settings gave it; focus on the first button.
    void Show();

    // Keys of the main window before any component sees them: the hidden menu's shortcuts,
    // Enter and the default buttons, page switching and dialog navigation.
    bool PreTranslateMessage(MSG& message);

    // Window lifecycle.
    void FormCreate();
    void FormCloseQuery(bool& canClose);
    void FormResize();
    void Close1Click();
    void WMQueryEndSession(LRESULT& result);

    // Settings file. Loading places the window and gives the check boxes' states to set.
    settings::FormSettings LoadSettings();
    void SaveSettings();

    // Shortcut management.
    void ButtonSendToClick();
    void ButtonSelectProgramClick();
    void ButtonSelectFolderClick();
    void ButtonOpenSendToFolderClick();
    void ButtonDeskTopClick();
    void ButtonStartMenuClick();
    void ButtonStartUpClick();

    // Receiving files.
    void AppMessageFilter(MSG& message, bool& handled);
    void WMDropFiles(HDROP drop);

    // Information and help.
    void ButtonHelpClick();
    void ButtonAboutClick();
    void ButtonPropertiesClick();
    void ButtonDonationClick();
    void ButtonHomeSiteClick();

    // Window state to show with: 0 normal, 1 minimised, 2 maximised.
    int WindowState = 0;

    // Components.
    HWND PageControl1 = nullptr;
    HWND TabSheetSendTo = nullptr;
    HWND TabSheetSettings = nullptr;
    HWND TabSheetHelp = nullptr;
    HWND GroupBox1 = nullptr;
    HWND GroupBox2 = nullptr;
    HWND ButtonSelectProgram = nullptr;
    HWND ButtonSelectFolder = nullptr;
    HWND ButtonOpenSendToFolder = nullptr;
    HWND ButtonSendTo = nullptr;
    HWND ButtonDeskTop = nullptr;
    HWND ButtonStartMenu = nullptr;
    HWND ButtonStartUp = nullptr;
    HWND CheckBoxCloseQuery = nullptr;
    HWND CheckBoxSaveStatus = nullptr;
    HWND ButtonHelp = nullptr;
    HWND ButtonAbout = nullptr;
    HWND ButtonProperties = nullptr;
    HWND ButtonDonation = nullptr;
    HWND ButtonHomeSite = nullptr;
    HWND ToolTips = nullptr;

    // What the shortcut commands remember (the path last picked or received, the last shortcut
    // handled), and the commands themselves with their file dialogs.
    shortcuts::ShortcutState Shortcuts;
    shortcuts::RegistrationCommands Registration;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    static LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void WMDpiChanged(int dpi, const RECT& suggested);
    void WMActivate(bool active);

    void CreateComponents();
    // The font at the window's resolution and its text height; false when none could be made.
    bool MakeFont();
    void ApplyFont();
    // The pages' rectangle: the tab control's display area once its tabs fit the font.
    Rect PageArea();
    void LayoutComponents();
    int Scaled(int length) const;
    bool RunCloseQuery();
    void RunClick(int id);
    // Runs a command unless another one's box is open; whether it ran. A command's box or
    // dialog runs a message loop of its own, through which clicks posted to the window still
    // arrive: they must not start a second command inside the first.
    template <class Command> bool RunCommand(const Command& command) {
        if (services::ModalGuard::AnyOpen()) {
            return false;
        }
        application_.Guard(command);
        return true;
    }
    void RunMenuCommand(app::MenuCommand command);
    void SelectPage(int index);
    void ShowPage(int index);
    int ActivePage() const;
    void PressEnter();
    void UpdateDefaultButton(HWND focused);

    services::Application& application_;
    HWND handle_ = nullptr;
    HWND savedFocus_ = nullptr;
    int dpi_ = 96;
    int textHeight_ = 0;
    SIZE laidOutSize_{-1, -1};
    bool componentsCreated_ = false;
    // Until the window is first shown: the saved placement has given it its size in the pixels
    // of its monitor, which a change of resolution meanwhile (the placement moving it onto a
    // monitor at another one, or the first showing) would scale again, and the size saved at
    // the close would grow at every start.
    bool keepSize_ = true;
    platform::UniqueFont font_;
    settings::FormSettingsFile settingsFile_;
};

} // namespace app
