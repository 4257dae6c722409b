// Program entry: the application object, the main form, the message loop.
#include <windows.h>

#include <exception>

#include "application.h"
#include "unit1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  vx::ui::Application& application = vx::ui::Application::Instance();
  application.Initialize();
  try {
    application.CreateForm(Form1);
  } catch (const std::exception& error) {
    application.ShowException(error.what());
    return 1;
  }
  return application.Run();
}
