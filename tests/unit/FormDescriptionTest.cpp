#include "app/FormDescription.h"

#include <gtest/gtest.h>

#include <ostream>

#include "imaging/surface/PictureRegistry.h"

namespace {

LayoutObject Control(const std::string& name, const std::string& className, std::vector<LayoutProperty> properties)
{
    return {name, className, std::move(properties), {}};
}

// The update window's layout as resources/FrmMain.layout gives it, pictures left out.
LayoutObject FrmMainLayout()
{
    LayoutObject form{"FrmMain", "TFrmMain", {}, {}};
    form.properties = {{"Left", 307},
                       {"Top", 333},
                       {"BorderIcons", LayoutSet{{"biSystemMenu", "biMinimize"}}},
                       {"BorderStyle", LayoutIdentifier{"bsSingle"}},
                       {"Caption", std::string("Marovin")},
                       {"ClientHeight", 173},
                       {"ClientWidth", 348},
                       {"Color", LayoutIdentifier{"clBtnFace"}},
                       {"Font.Charset", LayoutIdentifier{"GB2312_CHARSET"}},
                       {"Font.Height", -13},
                       {"Font.Name", std::string("\xCB\xCE\xCC\xE5")}, // 宋体
                       {"Font.Style", LayoutSet{}},
                       {"Position", LayoutIdentifier{"poDesktopCenter"}},
                       {"OnShow", LayoutIdentifier{"FormShow"}}};
    form.children = {
        Control("Image1", "TImage", {{"Top", 0}, {"Width", 348}, {"Height", 130}, {"Align", LayoutIdentifier{"alTop"}}}),
        Control("Image2", "TImage", {{"Top", 130}, {"Width", 348}, {"Height", 16}, {"Align", LayoutIdentifier{"alTop"}}}),
        Control("Label1", "TLabel",
                {{"Left", 8}, {"Top", 151}, {"Width", 321}, {"Height", 18}, {"Caption", std::string("Label1")}}),
    };
    return form;
}

TEST(FormDescription, TakesTheWindowAndItsControlsFromTheLayout)
{
    const FormDescription form = DescribeForm(FrmMainLayout());

    EXPECT_EQ(form.caption, "Marovin");
    EXPECT_EQ(form.borderStyle, "bsSingle");
    EXPECT_TRUE(form.systemMenu && form.minimizeBox);
    EXPECT_FALSE(form.maximizeBox);
    EXPECT_EQ(form.font.name, "\xCB\xCE\xCC\xE5");
    EXPECT_EQ(form.font.height, -13);
    EXPECT_EQ(form.font.charset, 134);
    EXPECT_EQ(form.font.color, "clWindowText");
    EXPECT_TRUE(form.desktopCenter);
    EXPECT_EQ(form.onShow, "FormShow");
    ASSERT_EQ(form.controls.size(), 3u);
    EXPECT_EQ(form.controls[2].kind, ControlKind::Label);
    EXPECT_EQ(form.controls[2].caption, "Label1");
    EXPECT_FALSE(form.controls[0].picture.has_value());
}

// The layout with one property of the window set (replaced, or added when the layout lacks it).
LayoutObject WithProperty(const std::string& name, LayoutValue value)
{
    LayoutObject form = FrmMainLayout();
    for (LayoutProperty& property : form.properties)
        if (property.name == name) {
            property.value = std::move(value);
            return form;
        }
    form.properties.push_back({name, std::move(value)});
    return form;
}

TEST(FormDescription, RefusesWhatTheLoaderCannotBuild)
{
    LayoutObject unknownClass = FrmMainLayout();
    unknownClass.children.push_back(Control("Button1", "TButton", {}));
    LayoutObject unknownAlign = FrmMainLayout();
    unknownAlign.children[0].properties.back().value = LayoutIdentifier{"alClient"};

    const LayoutObject refused[] = {
        WithProperty("Caption", 5),
        WithProperty("ClientWidth", std::string("348")),
        unknownClass,
        unknownAlign,
        WithProperty("BorderStyle", LayoutIdentifier{"bsToolWindow"}),
        WithProperty("BorderIcons", LayoutSet{{"biHelp"}}),
        WithProperty("Font.Charset", LayoutIdentifier{"SHIFTJIS_CHARSET"}),
        WithProperty("Position", LayoutIdentifier{"poScreenCenter"}),
    };
    for (const LayoutObject& form : refused)
        EXPECT_THROW(DescribeForm(form), ELayoutError);
}

struct LayoutCase {
    int textHeight;
    PixelSize client;
    ControlBounds image1;
    ControlBounds image2;
    ControlBounds label1;
};

void PrintTo(const LayoutCase& layoutCase, std::ostream* out)
{
    *out << "text height " << layoutCase.textHeight;
}

class LaidOutBoundsTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(LaidOutBoundsTest, ScalesThenStacksTopAlignedControlsAcrossTheClientWidth)
{
    const FormBounds bounds = LaidOutBounds(DescribeForm(FrmMainLayout()), GetParam().textHeight);

    EXPECT_EQ(bounds.client.width, GetParam().client.width);
    EXPECT_EQ(bounds.client.height, GetParam().client.height);
    const ControlBounds expected[] = {GetParam().image1, GetParam().image2, GetParam().label1};
    for (int i = 0; i < 3; ++i) {
        const ControlBounds& got = bounds.controls[i];
        EXPECT_EQ(std::vector<int>({got.left, got.top, got.width, got.height}),
                  std::vector<int>({expected[i].left, expected[i].top, expected[i].width, expected[i].height}))
            << "control " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    TextHeights, LaidOutBoundsTest,
    testing::Values(LayoutCase{13, {348, 173}, {0, 0, 348, 130}, {0, 130, 348, 16}, {8, 151, 321, 18}},
                    LayoutCase{16, {428, 213}, {0, 0, 428, 160}, {0, 160, 428, 20}, {10, 186, 395, 22}},
                    LayoutCase{17, {455, 226}, {0, 0, 455, 170}, {0, 170, 455, 21}, {10, 197, 420, 24}}));

class NoPicture : public Picture {
public:
    int Width() const override { return 1; }
    int Height() const override { return 1; }
    void Draw(PictureCanvas&, const PictureRect&) override {}
};

TEST(PictureRegistry, FindsAKindOnlyByItsExactName)
{
    PictureRegistry registry;
    registry.Register("TGIFImage", [](const std::uint8_t*, std::size_t) { return std::make_unique<NoPicture>(); });

    ASSERT_NE(registry.Find("TGIFImage"), nullptr);
    EXPECT_EQ((*registry.Find("TGIFImage"))(nullptr, 0)->Width(), 1);
    EXPECT_EQ(registry.Find("TGifImage"), nullptr);
    EXPECT_EQ(registry.Find("TJPEGImage"), nullptr);
}

} // namespace
