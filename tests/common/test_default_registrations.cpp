#include "common/DefaultCommonGen.h"
#include "common/DefaultFetch.h"
#include "common/DefaultFormColour.h"
#include "common/DefaultGridSetting.h"
#include "common/DefaultUserAuditing.h"

#include <gtest/gtest.h>

using namespace shop;

TEST(DefaultRegistrations, LibraryComponentsAreCreatedByName)
{
    EXPECT_NE(dynamic_cast<DefaultCommonGen *>(ComponentRegistry::create<clsCommonGen>(progid::CommonGen).get()), nullptr);
    EXPECT_NE(dynamic_cast<DefaultFormColour *>(ComponentRegistry::create<clsFormcolor>(progid::FormColor).get()), nullptr);
    EXPECT_NE(dynamic_cast<DefaultUserAuditing *>(ComponentRegistry::create<clsUserAuditing>(progid::UserAuditing).get()),
              nullptr);
    EXPECT_NE(
        dynamic_cast<DefaultGridSetting *>(ComponentRegistry::create<clsMasterGridSetting>(progid::GridSetting).get()),
        nullptr);
    EXPECT_NE(dynamic_cast<DefaultFetch *>(ComponentRegistry::create<clsFetch>(progid::Fetch).get()), nullptr);
}
