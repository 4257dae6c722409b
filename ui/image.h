#pragma once

#include "control.h"
#include "png_picture.h"

namespace vx::ui {

// A picture drawn at the top left of its bounds, blended by its alpha channel over the form's
// button-face background. `Picture` names the RCDATA resource that holds the PNG.
class Image : public Control {
 public:
  using Control::Control;
  const PremultipliedPicture& Picture() const { return picture_; }

 protected:
  bool ApplyOwnProperty(const FormProperty& property) override;
  HWND CreateHandle(HWND parent, int id, DWORD baseStyle) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc) const;

  std::string pictureResource_;
  PremultipliedPicture picture_;
};

}  // namespace vx::ui
