#include "app/FormDescription.h"

#include <map>

namespace {

template <typename T>
const T* Typed(const LayoutObject& object, const std::string& name)
{
    const LayoutValue* value = object.Find(name);
    if (value == nullptr)
        return nullptr;
    const T* typed = std::get_if<T>(value);
    if (typed == nullptr)
        throw ELayoutError("Layout property " + object.name + "." + name + " has the wrong type");
    return typed;
}

int Integer(const LayoutObject& object, const std::string& name)
{
    const auto* value = Typed<std::int32_t>(object, name);
    return value != nullptr ? *value : 0;
}

std::string Text(const LayoutObject& object, const std::string& name)
{
    const auto* value = Typed<std::string>(object, name);
    return value != nullptr ? *value : std::string();
}

std::string Symbol(const LayoutObject& object, const std::string& name, const std::string& fallback)
{
    const auto* value = Typed<LayoutIdentifier>(object, name);
    return value != nullptr ? value->name : fallback;
}

// The members of a set property, each of which must be one of `known`; for each known member whether
// the set holds it.
std::map<std::string, bool> Members(const LayoutObject& object, const std::string& name,
                                    const std::vector<std::string>& known)
{
    std::map<std::string, bool> flags;
    for (const std::string& member : known)
        flags[member] = false;
    if (const auto* set = Typed<LayoutSet>(object, name))
        for (const std::string& member : set->members) {
            if (flags.count(member) == 0)
                throw ELayoutError("Layout property " + object.name + "." + name + " has an unknown member " + member);
            flags[member] = true;
        }
    return flags;
}

std::string OneOf(const LayoutObject& object, const std::string& name, const std::string& fallback,
                  const std::vector<std::string>& known)
{
    const std::string value = Symbol(object, name, fallback);
    for (const std::string& candidate : known)
        if (value == candidate)
            return value;
    throw ELayoutError("Layout property " + object.name + "." + name + " has an unknown value " + value);
}

int Charset(const LayoutObject& form)
{
    static const std::map<std::string, int> charsets = {
        {"ANSI_CHARSET", 0}, {"DEFAULT_CHARSET", 1}, {"GB2312_CHARSET", 134}};
    const std::string name = Symbol(form, "Font.Charset", "DEFAULT_CHARSET");
    const auto found = charsets.find(name);
    if (found == charsets.end())
        throw ELayoutError("Layout property " + form.name + ".Font.Charset has an unknown value " + name);
    return found->second;
}

FontDescription DescribeFont(const LayoutObject& form)
{
    FontDescription font;
    font.name = Text(form, "Font.Name");
    font.height = Integer(form, "Font.Height");
    font.charset = Charset(form);
    font.color = Symbol(form, "Font.Color", font.color);
    auto style = Members(form, "Font.Style", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
    font.bold = style["fsBold"];
    font.italic = style["fsItalic"];
    font.underline = style["fsUnderline"];
    font.strikeOut = style["fsStrikeOut"];
    return font;
}

ControlDescription DescribeControl(const LayoutObject& object)
{
    ControlDescription control;
    control.name = object.name;
    if (object.className == "TImage")
        control.kind = ControlKind::Picture;
    else if (object.className == "TLabel")
        control.kind = ControlKind::Label;
    else
        throw ELayoutError("Layout control " + object.name + " has an unknown class " + object.className);
    control.bounds = {Integer(object, "Left"), Integer(object, "Top"), Integer(object, "Width"), Integer(object, "Height")};
    control.alignTop = OneOf(object, "Align", "alNone", {"alNone", "alTop"}) == "alTop";
    control.caption = Text(object, "Caption");
    if (const auto* picture = Typed<LayoutBinary>(object, "Picture.Data"))
        control.picture = picture->bytes;
    return control;
}

} // namespace

FormDescription DescribeForm(const LayoutObject& form)
{
    FormDescription description;
    description.caption = Text(form, "Caption");
    description.position = {Integer(form, "Left"), Integer(form, "Top")};
    description.client = {Integer(form, "ClientWidth"), Integer(form, "ClientHeight")};
    description.borderStyle =
        OneOf(form, "BorderStyle", description.borderStyle, {"bsNone", "bsSingle", "bsSizeable", "bsDialog"});
    auto icons = Members(form, "BorderIcons", {"biSystemMenu", "biMinimize", "biMaximize"});
    description.systemMenu = icons["biSystemMenu"];
    description.minimizeBox = icons["biMinimize"];
    description.maximizeBox = icons["biMaximize"];
    description.color = Symbol(form, "Color", description.color);
    description.font = DescribeFont(form);
    description.desktopCenter = OneOf(form, "Position", "poDesigned", {"poDesigned", "poDesktopCenter"}) == "poDesktopCenter";
    description.onShow = Symbol(form, "OnShow", "");
    for (const LayoutObject& child : form.children)
        description.controls.push_back(DescribeControl(child));
    return description;
}

FormBounds LaidOutBounds(const FormDescription& form, int measuredTextHeight)
{
    FormBounds bounds{form.client, {}};
    for (const ControlDescription& control : form.controls)
        bounds.controls.push_back(control.bounds);
    bounds = ScaleToTextHeight(bounds, measuredTextHeight);
    int top = 0;
    for (std::size_t i = 0; i < form.controls.size(); ++i) {
        if (!form.controls[i].alignTop)
            continue;
        ControlBounds& control = bounds.controls[i];
        control = {0, top, bounds.client.width, control.height};
        top += control.height;
    }
    return bounds;
}
