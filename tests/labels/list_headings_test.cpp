#include "labels/list_headings.h"

#include <gtest/gtest.h>

namespace yubin::labels {
namespace {

struct HeadingCase {
    const char16_t* heading;
    std::optional<Part> part;
    int set;
};

class Headings : public testing::TestWithParam<HeadingCase> {};

TEST_P(Headings, NameTheirPartAfterFoldingWidthAndBlanks) {
    const HeadingCase& c = GetParam();
    const std::optional<HeadingMatch> m = partOfHeading(QString::fromUtf16(c.heading));
    ASSERT_EQ(m.has_value(), c.part.has_value());
    if (m) {
        EXPECT_EQ(m->part, *c.part);
        EXPECT_EQ(m->set, c.set);
    }
}

INSTANTIATE_TEST_SUITE_P(
    ListHeadings, Headings,
    testing::Values(
        HeadingCase{u"〒", Part::PostalCode, 0}, HeadingCase{u" 郵便番号　", Part::PostalCode, 0},
        HeadingCase{u"ZIP", Part::PostalCode, 0},
        HeadingCase{u"Ｐｏｓｔａｌ　Ｃｏｄｅ", Part::PostalCode, 0},
        HeadingCase{u"勤務先郵便番号", Part::PostalCode, 2},
        HeadingCase{u"Home ZipCode", Part::PostalCode, 1},
        HeadingCase{u"Address 2 - Region", Part::Prefecture, 2},
        HeadingCase{u"市 区 町 村", Part::City, 0}, HeadingCase{u"丁目番地", Part::Street, 0},
        HeadingCase{u"自宅住所２", Part::AddressLine2, 1},
        HeadingCase{u"Address 1", Part::AddressLine1, 0}, HeadingCase{u"ビル名", Part::Building, 0},
        HeadingCase{u"氏名(姓)", Part::LastName, 0}, HeadingCase{u"氏名（名）", Part::FirstName, 0},
        HeadingCase{u"肩書", Part::Title, 0},
        // A company is no member of an address set.
        HeadingCase{u"会社", Part::Company, 0}, HeadingCase{u"勤務先", Part::Company, 0},
        HeadingCase{u"連名３", Part::Joint3, 0}, HeadingCase{u"会社コード", std::nullopt, 0},
        HeadingCase{u"自宅電話", std::nullopt, 0},
        HeadingCase{u"Address 1 - Country", std::nullopt, 0}));

} // namespace
} // namespace yubin::labels
