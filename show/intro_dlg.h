// CIntroDlg: the show's title card, with the title, the description, the
// notice line and the credit line. It goes away at the third one-second
// tick, at a key press or at a left click anywhere on it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/base/types.h"
#include "platform/ui/dialog.h"

namespace pellora {

struct DialogFonts;

enum : int { IDC_INTRO_TITLE = 1045, IDC_INTRO_DESCRIPTION = 1046, IDC_INTRO_NOTICE = 1047, IDC_INTRO_CREDIT = 1048 };

class CIntroDlg : public CDialog {
 public:
  static constexpr uintptr_t kTimerId = 1;
  static constexpr int32_t kSecondsShown = 3;

  // The card is centred on centre and written in the fonts.
  CIntroDlg(Rect centre, const DialogFonts& fonts);

  // Windows-1252, from the document.
  std::string title;
  std::string description;
  std::string notice;
  int32_t tickCount = 0;
  uintptr_t timerId = 0;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags) override;
  void OnLButtonDown(uint32_t flags, Point point) override;
  void OnTimer(uintptr_t id) override;
  void OnDestroy() override;

 private:
  Rect centre_;
  const DialogFonts& fonts_;
};

}  // namespace pellora
