// More controls: panel, bevel, image and radio group.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/RadioGroups.h"
#include "platform/vcl/StdCtrls.h"

#include <memory>
#include <vector>

TAVO_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer)
TAVO_ENUM(TBevelStyle, bsLowered, bsRaised)

// Draws width nested frames just inside rect, top and left edges in topColor, bottom and
// right in bottomColor, and leaves rect as the area inside them.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

// ---- Panel ----------------------------------------------------------------------------

// A container with an outer and an inner bevel (each BevelWidth wide) around a border of
// BorderWidth in its own colour; its caption is drawn on one line, vertically centred.
class TCustomPanel : public TCustomControl {
  TAVO_CLASS(TCustomPanel, TCustomControl)
public:
  explicit TCustomPanel(TComponent* AOwner);

  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TBevelCut GetBevelInner() const { return BevelInner; }
  void SetBevelInner(TBevelCut value);
  TBevelCut GetBevelOuter() const { return BevelOuter; }
  void SetBevelOuter(TBevelCut value);
  int GetBevelWidth() const { return BevelWidth; }
  void SetBevelWidth(int value);  // at least 1
  int GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);

  bool FullRepaint = true;
  bool Locked = false;

protected:
  void AdjustClientRect(TRect& rect) override;
  void Paint() override;
  void TextChanged() override;

private:
  void Relayout();
  TAlignment FAlignment = taCenter;
  int FBorderWidth = 0;
  TBorderStyle FBorderStyle = bsNone;
};

class TPanel : public TCustomPanel {
  TAVO_CLASS(TPanel, TCustomPanel)
public:
  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

// ---- Bevel ----------------------------------------------------------------------------

class TBevel : public TGraphicControl {
  TAVO_CLASS(TBevel, TGraphicControl)
public:
  explicit TBevel(TComponent* AOwner);

  TBevelShape GetShape() const { return FShape; }
  void SetShape(TBevelShape value);
  TBevelStyle GetStyle() const { return FStyle; }
  void SetStyle(TBevelStyle value);

protected:
  void Paint() override;

private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

// ---- Image ----------------------------------------------------------------------------

class TImage : public TGraphicControl {
  TAVO_CLASS(TImage, TGraphicControl)
public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;

  TPicture* GetPicture() const { return FPicture.get(); }
  void SetPicture(TPicture* value) { FPicture->Assign(value); }
  bool GetCenter() const { return FCenter; }
  void SetCenter(bool value);
  bool GetStretch() const { return FStretch; }
  void SetStretch(bool value);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool value);
  // With AutoSize the image takes the size of its picture whenever the picture changes.
  void SetAutoSize(bool value) override;

  // Where the picture is drawn in the client area.
  TRect DestRect() const;

protected:
  void Paint() override;

private:
  void PictureChanged(TObject* sender);
  std::unique_ptr<TPicture> FPicture;
  bool FCenter = false;
  bool FStretch = false;
  bool FTransparent = false;
};

// ---- Radio group ----------------------------------------------------------------------

class TCustomRadioGroup;

// One button of a radio group, created by the group for a line of its Items.
class TGroupButton : public TGroupButtonOf<TRadioButton, TCustomRadioGroup> {
  TAVO_CLASS(TGroupButton, TRadioButton)
public:
  explicit TGroupButton(TCustomRadioGroup* group);
};

// A group box with one radio button per line of Items, laid out in Columns. Choosing a
// button (by the user or through ItemIndex) sets ItemIndex and runs the group's OnClick,
// as in the VCL.
class TCustomRadioGroup : public TRadioGroupOf<TCustomRadioGroup, TGroupButton> {
  TAVO_CLASS(TCustomRadioGroup, TCustomGroupBox)
public:
  explicit TCustomRadioGroup(TComponent* AOwner);
};

class TRadioGroup : public TCustomRadioGroup {
  TAVO_CLASS(TRadioGroup, TCustomRadioGroup)
public:
  explicit TRadioGroup(TComponent* AOwner) : TCustomRadioGroup(AOwner) {}
};
