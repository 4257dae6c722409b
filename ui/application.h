#pragma once

#include <memory>
#include <string>
#include <vector>

#include "form.h"

namespace vx::ui {

// The program's one application object: sets up COM and the common controls, owns the forms,
// runs the message loop and shows the exceptions that no handler caught.
class Application {
 public:
  static Application& Instance();

  void Initialize();

  // Makes a form and stores it in `reference`; the first form made is the main form, whose
  // closing ends the message loop.
  template <typename FormType>
  void CreateForm(FormType*& reference) {
    auto form = std::make_unique<FormType>();
    reference = form.get();
    form->Create();
    if (!mainForm_) {
      mainForm_ = form.get();
      mainForm_->SetMainForm(true);
    }
    forms_.push_back(std::move(form));
  }

  // Shows the main form and dispatches messages until it is closed. Returns the exit code.
  int Run();

  // The default exception display: a message box with the exception's text, the application's
  // title as caption and the error icon.
  void ShowException(const std::string& message) const;

  // The executable's name without folder and extension.
  const std::string& Title() const { return title_; }
  Form* MainForm() const { return mainForm_; }

 private:
  Application() = default;
  ~Application();

  std::string title_;
  bool comInitialised_ = false;
  Form* mainForm_ = nullptr;
  std::vector<std::unique_ptr<Form>> forms_;
};

}  // namespace vx::ui
