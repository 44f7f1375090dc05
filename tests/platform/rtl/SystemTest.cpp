#include "platform/rtl/System.h"

#include <gtest/gtest.h>

namespace {

class TBase : public TObject {
  TAVO_CLASS(TBase, TObject)
};
class TDerived : public TBase {
  TAVO_CLASS(TDerived, TBase)
};
TAVO_CLASS_IMPL(TBase, TObject)
TAVO_CLASS_IMPL(TDerived, TBase)

TEST(TObjectTest, ClassNamesAndInheritance) {
  TDerived d;
  const TObject& o = d;
  EXPECT_EQ(o.ClassName(), "TDerived");
  EXPECT_EQ(o.ClassParent(), TBase::StaticClass());
  EXPECT_TRUE(o.InheritsFrom(TObject::StaticClass()));
  EXPECT_TRUE(o.InheritsFrom(TBase::StaticClass()));
  EXPECT_FALSE(TBase().InheritsFrom(TDerived::StaticClass()));
}

TEST(ExceptionTest, ClassNameIsReadableThroughTheBase) {
  try {
    throw EVariantTypeCastError("Could not convert variant");
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), "EVariantTypeCastError");
    EXPECT_EQ(e.Message, "Could not convert variant");
  }
  try {
    throw EInOutError("File not found", 2);
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), "EInOutError");
    EXPECT_EQ(dynamic_cast<const EInOutError&>(e).ErrorCode, 2);
  }
}

}  // namespace
