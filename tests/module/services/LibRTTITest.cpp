#include "module/services/LibRTTI.h"

#include "platform/vcl/Components.h"

#include <gtest/gtest.h>

TAVO_ENUM(TProbeAlign, paLeft, paRight, paCenter)
TAVO_SET_INFO(TProbeAligns, TProbeAlign)

// A component publishing one property of every kind the by-name access handles.
class TRttiProbe : public TComponent {
  TAVO_CLASS(TRttiProbe, TComponent)
public:
  explicit TRttiProbe(TComponent* owner) : TComponent(owner) {}
  AnsiString GetHint() const { return "read only"; }
  void Clicked(TObject*) {}

  AnsiString Caption;
  int Width = 0;
  char Accel = 'A';
  TProbeAlign Align = paLeft;
  TProbeAligns Aligns;
  TRttiProbe* Buddy = nullptr;
  double Ratio = 0;
  TNotifyEvent OnClick;
};

TAVO_PUBLISHED(TRttiProbe, TComponent) {
  P.Str("Caption", &TRttiProbe::Caption, &TRttiProbe::Caption);
  P.Str("Hint", &TRttiProbe::GetHint);
  P.Int("Width", &TRttiProbe::Width, &TRttiProbe::Width);
  P.Char("Accel", &TRttiProbe::Accel, &TRttiProbe::Accel);
  P.Enum("Align", &TRttiProbe::Align, &TRttiProbe::Align);
  P.Set("Aligns", &TRttiProbe::Aligns, &TRttiProbe::Aligns);
  P.Obj("Buddy", &TRttiProbe::Buddy, &TRttiProbe::Buddy);
  P.Float("Ratio", &TRttiProbe::Ratio, &TRttiProbe::Ratio);
  P.Event("OnClick", &TRttiProbe::OnClick);
}

namespace {

class LibRTTI : public testing::Test {
protected:
  TRttiProbe Probe{nullptr};
  TRttiProbe Other{nullptr};
};

TEST_F(LibRTTI, TextPropertiesByName) {
  SetStrPropByName(&Probe, "caption", "调拨");
  EXPECT_EQ(Probe.Caption, "调拨");
  EXPECT_EQ(GetStrPropByName(&Probe, "Caption"), "调拨");
  EXPECT_EQ(GetStrPropByName(&Probe, "Hint"), "read only");
  SetStrPropByName(&Probe, "Hint", "ignored");
  EXPECT_EQ(GetStrPropByName(&Probe, "Hint"), "read only");
  // Another kind is not a text.
  Probe.Width = 5;
  EXPECT_EQ(GetStrPropByName(&Probe, "Width"), "");
  SetStrPropByName(&Probe, "Width", "9");
  EXPECT_EQ(Probe.Width, 5);
}

TEST_F(LibRTTI, OrdinalPropertiesByName) {
  SetOrdPropByName(&Probe, "Width", 120);
  SetOrdPropByName(&Probe, "Accel", 'Q');
  SetOrdPropByName(&Probe, "Align", paCenter);
  SetOrdPropByName(&Probe, "Aligns", TProbeAligns{paLeft, paCenter}.Bits());
  EXPECT_EQ(Probe.Width, 120);
  EXPECT_EQ(Probe.Accel, 'Q');
  EXPECT_EQ(Probe.Align, paCenter);
  EXPECT_EQ(Probe.Aligns, (TProbeAligns{paLeft, paCenter}));
  EXPECT_EQ(GetOrdPropByName(&Probe, "WIDTH"), 120);
  EXPECT_EQ(GetOrdPropByName(&Probe, "Accel"), 'Q');
  EXPECT_EQ(GetOrdPropByName(&Probe, "Align"), paCenter);
  EXPECT_EQ(GetOrdPropByName(&Probe, "Aligns"), 5);
  // A value the enumeration does not have is not written.
  SetOrdPropByName(&Probe, "Align", 7);
  EXPECT_EQ(Probe.Align, paCenter);
  // Floats and texts are no ordinals.
  Probe.Ratio = 2.5;
  EXPECT_EQ(GetOrdPropByName(&Probe, "Ratio"), 0);
  SetOrdPropByName(&Probe, "Ratio", 3);
  EXPECT_EQ(Probe.Ratio, 2.5);
  EXPECT_EQ(GetOrdPropByName(&Probe, "Caption"), 0);
}

TEST_F(LibRTTI, ObjectReferencesAsOrdinals) {
  const int64_t other = GetOrdPropByName(&Probe, "Buddy");
  EXPECT_EQ(other, 0);
  Probe.Buddy = &Other;
  const int64_t address = GetOrdPropByName(&Probe, "Buddy");
  EXPECT_NE(address, 0);
  TRttiProbe third(nullptr);
  SetOrdPropByName(&third, "Buddy", address);
  EXPECT_EQ(third.Buddy, &Other);
  SetOrdPropByName(&third, "Buddy", 0);
  EXPECT_EQ(third.Buddy, nullptr);
  // An object of another class is refused.
  TComponent stranger(nullptr);
  SetOrdPropByName(&third, "Buddy", reinterpret_cast<intptr_t>(static_cast<TObject*>(&stranger)));
  EXPECT_EQ(third.Buddy, nullptr);
}

TEST_F(LibRTTI, EventsByName) {
  const TNotifyEvent handler(&Other, &TRttiProbe::Clicked);
  SetMethodPropByName(&Probe, "OnClick", handler.Method);
  EXPECT_EQ(Probe.OnClick, handler);
  const TMethod read = GetMethodPropByName(&Probe, "onclick");
  EXPECT_EQ(read, handler.Method);
  EXPECT_EQ(read.Data, static_cast<void*>(&Other));
  SetMethodPropByName(&Probe, "OnClick", TMethod());
  EXPECT_FALSE(Probe.OnClick.Assigned());
  EXPECT_EQ(GetMethodPropByName(&Probe, "Caption"), TMethod());
  SetMethodPropByName(&Probe, "Caption", handler.Method);
  EXPECT_EQ(Probe.Caption, "");
}

TEST_F(LibRTTI, MissingObjectNameOrPropertyIsNeutral) {
  EXPECT_TRUE(HasPropByName(&Probe, "caption"));
  EXPECT_TRUE(HasPropByName(&Probe, "OnClick"));
  EXPECT_FALSE(HasPropByName(&Probe, "Missing"));
  EXPECT_FALSE(HasPropByName(&Probe, ""));
  EXPECT_FALSE(HasPropByName(nullptr, "Caption"));

  EXPECT_EQ(GetStrPropByName(nullptr, "Caption"), "");
  EXPECT_EQ(GetOrdPropByName(nullptr, "Width"), 0);
  EXPECT_EQ(GetMethodPropByName(nullptr, "OnClick"), TMethod());
  EXPECT_EQ(GetStrPropByName(&Probe, ""), "");
  EXPECT_EQ(GetOrdPropByName(&Probe, "Missing"), 0);
  EXPECT_NO_THROW(SetStrPropByName(nullptr, "Caption", "x"));
  EXPECT_NO_THROW(SetOrdPropByName(nullptr, "Width", 1));
  EXPECT_NO_THROW(SetMethodPropByName(nullptr, "OnClick", TMethod()));
  SetStrPropByName(&Probe, "Missing", "x");
  SetOrdPropByName(&Probe, "", 1);
  EXPECT_EQ(Probe.Caption, "");
  EXPECT_EQ(Probe.Width, 0);
}

}  // namespace
