// The program entry: the application object, the status window and the
// about box, then the message loop until the status window is closed.
#include "app/MasconAbout.h"
#include "app/MasconMain.h"
#include "forms/application.h"
#include "platform/foreground_key_sink.h"
#include "platform/winmm_joystick.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    trevik::WinmmJoystick joystick;
    trevik::ForegroundKeySink keys;
    forms::Application application(instance);
    try {
        application.Initialize();
        application.SetTitle(L"Trevik");
        auto& MasconMainForm = application.CreateForm<trevik::TMasconMainForm>(joystick, keys);
        auto& MasconAboutBox = application.CreateForm<trevik::TMasconAboutBox>();
        MasconMainForm.SetAboutBox(&MasconAboutBox);
        application.Run();
    } catch (...) {
        application.ShowException(std::current_exception());
    }
    return 0;
}
