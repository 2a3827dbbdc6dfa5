// Modal dialogs drawn by the program itself in the classic look: a
// template in dialog units (converted with the dialog font's base units),
// controls drawn inside the dialog's window, keyboard navigation (Tab,
// Enter for the default button, Escape to cancel), data exchange with
// validation, and a modal message loop.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/draw/font.h"
#include "platform/ui/dialog_drawing.h"
#include "platform/ui/window.h"

namespace pellora {

class CDialogControl;
class CEditControl;

// Control styles.
enum : uint32_t {
  WS_TABSTOP = 0x00010000,
  SS_LEFT = 0x0,
  SS_CENTER = 0x1,
  SS_ICON = 0x3,
  SS_NOPREFIX = 0x80,
  ES_PASSWORD = 0x20,
  ES_AUTOHSCROLL = 0x80,
  BS_PUSHBUTTON = 0x0,
  BS_DEFPUSHBUTTON = 0x1,
  BS_GROUPBOX = 0x7,
};
constexpr int IDC_STATIC = -1;

enum class ControlClass { Static, Edit, Button };

struct DialogItem {
  ControlClass cls = ControlClass::Static;
  int id = IDC_STATIC;
  std::string text;  // Windows-1252
  Rect rect;         // x, y, x + cx, y + cy in dialog units
  uint32_t style = 0;
  IconPainter icon = nullptr;  // the icon of an SS_ICON static
};

struct DialogTemplate {
  std::string caption;
  uint32_t style = WS_POPUP | DS_MODALFRAME;
  Size size;  // dialog units
  std::string faceName = "MS Sans Serif";
  int pointSize = 8;
  std::vector<DialogItem> items;
  // Positions and size are in pixels rather than dialog units.
  bool pixelUnits = false;
};

// Non-client metrics of dialogs at scale 1.
constexpr int kDialogFrame = 3;
constexpr int kCaptionHeight = 18;

class CDialog;

// What DoDataExchange works with: the direction, and the control that a
// failed validation sends the focus back to.
class CDataExchange {
 public:
  CDataExchange(CDialog& dialog, bool saveAndValidate) : m_pDlgWnd(&dialog), m_bSaveAndValidate(saveAndValidate) {}
  void PrepareEditCtrl(int id) { lastControl = id; }
  // Validation failed: the exchange stops; the dialog puts the focus back.
  void Fail() { failed = true; }

  CDialog* m_pDlgWnd;
  bool m_bSaveAndValidate;
  bool failed = false;
  int lastControl = 0;
};

void DDX_Text(CDataExchange* pDX, int id, std::string& value);
// Refuses more than maxChars characters with the framework's message.
void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int maxChars);

inline constexpr char kMaxCharsMessage[] = "Please enter no more than %1 characters.";

class CDialog : public CWnd {
 public:
  explicit CDialog(DialogTemplate dialogTemplate);
  ~CDialog() override;

  // Creates the dialog over the application's main window, runs it until
  // it ends, and returns the result EndDialog gave (IDCANCEL when the
  // program is asked to quit meanwhile).
  int DoModal();
  void EndDialog(int result);
  bool IsEnded() const { return ended_; }

  CDialogControl* GetDlgItem(int id) const;
  // Moves the focus to a control; an edit control gets its text selected.
  void GotoDlgCtrl(CDialogControl* control);
  CDialogControl* FocusedControl() const { return focused_; }
  // Runs the data exchange; false when a validation failed.
  bool UpdateData(bool saveAndValidate);

  const CFont& DialogFont() const { return font_; }
  // Base units of the dialog font at scale 1: dialog units x 4 and y 8 to
  // pixels, before the scale.
  Size BaseUnits() const { return baseUnits_; }
  // The whole factor the dialog is drawn at (GetDialogScale when created):
  // its lines, frame, caption and icons grow by it.
  int Scale() const { return scale_; }
  Rect MapDialogRect(const Rect& dialogUnits) const;
  // Where the close box of the caption is, in client coordinates.
  Rect CloseBoxRect() const;

  // Centres the dialog on a rectangle of the screen, keeping its size and
  // without repainting.
  void CenterOn(const Rect& frame);
  // Gives every control the font.
  void SetFontOfControls(const CFont* font);

  // Controls ask for their dialog to be drawn again.
  void Redraw() { Invalidate(false); }
  // A push button was clicked.
  void ButtonClicked(int id);

 protected:
  virtual bool OnInitDialog();
  virtual void DoDataExchange(CDataExchange* pDX);
  virtual void OnOK();
  virtual void OnCancel();

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;
  void OnPaint() override;
  void OnNcPaint(CDC& windowDc) override;
  void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags) override;
  void OnChar(uint32_t character, uint32_t repeat, uint32_t flags) override;
  void OnLButtonDown(uint32_t flags, Point point) override;
  void OnLButtonUp(uint32_t flags, Point point) override;
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnClose() override;

 private:
  void CreateControls();
  void FocusNext();
  int DefaultButtonId() const;

  DialogTemplate template_;
  CFont font_;
  CFont captionFont_;
  int scale_ = 1;
  Size baseUnits_{6, 13};
  std::vector<std::unique_ptr<CDialogControl>> controls_;
  CDialogControl* focused_ = nullptr;
  CDialogControl* pressed_ = nullptr;
  bool closePressed_ = false;
  bool ended_ = false;
  int result_ = IDCANCEL;
};

}  // namespace pellora
