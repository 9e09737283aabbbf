#include "framework/StandardClasses.h"

#include "framework/Form.h"
#include "framework/ImageList.h"
#include "framework/Panel.h"
#include "framework/PopupMenu.h"
#include "framework/Timer.h"

#include <charconv>
#include <map>

namespace fw {

TPixelImage PictureFromRows(std::string_view palette, const std::vector<std::string>& rows) {
    std::map<char, std::uint32_t> colors;
    std::size_t pos = 0;
    while (pos < palette.size()) {
        while (pos < palette.size() && palette[pos] == ' ')
            ++pos;
        if (pos >= palette.size())
            break;
        const char symbol = palette[pos++];
        std::uint32_t pixel = 0;
        if (pos < palette.size() && palette[pos] == '=') {
            ++pos;
            const std::size_t start = pos;
            while (pos < palette.size() && palette[pos] != ' ')
                ++pos;
            std::uint32_t bgr = 0;
            const auto r = std::from_chars(palette.data() + start, palette.data() + pos, bgr, 16);
            if (r.ec != std::errc() || r.ptr != palette.data() + pos || pos - start != 6)
                throw ELayoutError(std::string("bad palette colour for '") + symbol + "'");
            pixel = Opaque(bgr);
        }
        colors[symbol] = pixel;
    }
    const int height = static_cast<int>(rows.size());
    const int width = height ? static_cast<int>(rows[0].size()) : 0;
    TPixelImage image = TPixelImage::Blank(width, height);
    for (int y = 0; y < height; ++y) {
        const std::string& row = rows[static_cast<std::size_t>(y)];
        if (static_cast<int>(row.size()) != width)
            throw ELayoutError("picture row " + std::to_string(y) + " has another width");
        for (int x = 0; x < width; ++x) {
            auto it = colors.find(row[static_cast<std::size_t>(x)]);
            if (it == colors.end())
                throw ELayoutError(std::string("'") + row[static_cast<std::size_t>(x)] +
                                   "' is not in the palette");
            image.Set(x, y, it->second);
        }
    }
    return image;
}

TPixelImage LayoutPicture(const TLayoutItem& item) {
    std::string palette;
    std::vector<std::string> rows;
    for (const TLayoutProperty& p : item.Properties) {
        if (p.Name == "Palette")
            palette = LayoutString(p.Value);
        else if (p.Name == "Rows" && p.Value.Kind == TLayoutValue::StringList)
            rows = p.Value.Items;
        else
            throw ELayoutError("unknown picture property '" + p.Name + "'");
    }
    return PictureFromRows(palette, rows);
}

TPixelImage LayoutSinglePicture(const TLayoutValue& value) {
    if (value.Kind != TLayoutValue::Collection || value.Elements.size() != 1)
        throw ELayoutError("a collection of one picture was expected");
    return LayoutPicture(value.Elements[0]);
}

namespace {

const std::vector<std::pair<const char*, TAlign>> kAligns = {
    {"alNone", alNone}, {"alTop", alTop},     {"alBottom", alBottom},
    {"alLeft", alLeft}, {"alRight", alRight}, {"alClient", alClient}};

const std::vector<std::pair<const char*, TCursor>> kCursors = {
    {"crDefault", crDefault}, {"crArrow", crArrow},         {"crCross", crCross},
    {"crIBeam", crIBeam},     {"crSizeWE", crSizeWE},       {"crSizeNS", crSizeNS},
    {"crHSplit", crHSplit},   {"crVSplit", crVSplit},       {"crDrag", crDrag},
    {"crNoDrop", crNoDrop},   {"crHandPoint", crHandPoint}, {"crHourGlass", crHourGlass}};

const std::vector<std::pair<const char*, TBevelCut>> kBevels = {
    {"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}};

const std::vector<std::pair<const char*, TAlignment>> kAlignments = {
    {"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}};

void RegisterControl(TPropertyRegistry& registry) {
    RegisterRootClass<TControl>(registry, "TControl", "")
        .Int("Left", &TControl::SetLeft)
        .Int("Top", &TControl::SetTop)
        .Int("Width", &TControl::SetWidth)
        .Int("Height", &TControl::SetHeight)
        .Enum("Align", kAligns, &TControl::SetAlign)
        .String("Caption", &TControl::SetCaption)
        .Color("Color", &TControl::SetColor)
        .Bool("ParentColor", &TControl::SetParentColor)
        .Bool("ParentFont", &TControl::SetParentFont)
        .Bool("Visible", &TControl::SetVisible)
        .Bool("Enabled", &TControl::SetEnabled)
        .Custom("Cursor",
                [](TControl& c, const TLayoutValue& v, TLoadContext&) {
                    if (v.Kind == TLayoutValue::Integer) {
                        c.SetCursor(static_cast<TCursor>(v.Int));
                        return;
                    }
                    for (const auto& [n, cursor] : kCursors)
                        if (v.Text == n) {
                            c.SetCursor(cursor);
                            return;
                        }
                    throw ELayoutError("'" + v.Text + "' is not a cursor");
                })
        .Custom("Tag", [](TControl& c, const TLayoutValue& v,
                          TLoadContext&) { c.Tag = static_cast<int>(LayoutInt(v)); })
        .Int("HelpContext", &TControl::SetHelpContext)
        .Custom("Font.Name", [](TControl& c, const TLayoutValue& v,
                                TLoadContext&) { c.Font().SetName(LayoutString(v)); })
        .Custom("Font.Height",
                [](TControl& c, const TLayoutValue& v, TLoadContext&) {
                    c.Font().SetHeight(static_cast<int>(LayoutInt(v)));
                })
        .Custom("Font.Size",
                [](TControl& c, const TLayoutValue& v, TLoadContext&) {
                    c.Font().SetSize(static_cast<int>(LayoutInt(v)));
                })
        .Custom("Font.Charset", [](TControl& c, const TLayoutValue& v,
                                   TLoadContext&) { c.Font().SetCharset(LayoutCharset(v)); })
        .Custom("Font.Color", [](TControl& c, const TLayoutValue& v,
                                 TLoadContext&) { c.Font().SetColor(LayoutColor(v)); })
        .Custom("Font.Style",
                [](TControl& c, const TLayoutValue& v, TLoadContext&) {
                    c.Font().SetStyle(LayoutSet(v, {{"fsBold", fsBold},
                                                    {"fsItalic", fsItalic},
                                                    {"fsUnderline", fsUnderline},
                                                    {"fsStrikeOut", fsStrikeOut}}));
                })
        .Event("OnClick", &TControl::OnClick, "TNotifyEvent")
        .Event("OnDblClick", &TControl::OnDblClick, "TNotifyEvent")
        .Event("OnResize", &TControl::OnResize, "TNotifyEvent")
        .Event("OnMouseDown", &TControl::OnMouseDown, "TMouseEvent")
        .Event("OnMouseUp", &TControl::OnMouseUp, "TMouseEvent")
        .Event("OnMouseMove", &TControl::OnMouseMove, "TMouseMoveEvent");

    RegisterRootClass<TWinControl>(registry, "TWinControl", "TControl")
        .Int("TabOrder", &TWinControl::SetTabOrder)
        .Bool("TabStop", &TWinControl::SetTabStop)
        .Event("OnEnter", &TWinControl::OnEnter, "TNotifyEvent")
        .Event("OnExit", &TWinControl::OnExit, "TNotifyEvent")
        .Event("OnKeyDown", &TWinControl::OnKeyDown, "TKeyEvent")
        .Event("OnKeyUp", &TWinControl::OnKeyUp, "TKeyEvent")
        .Event("OnKeyPress", &TWinControl::OnKeyPress, "TKeyPressEvent");

    RegisterRootClass<TCustomControl>(registry, "TCustomControl", "TWinControl");
}

void RegisterForm(TPropertyRegistry& registry) {
    RegisterRootClass<TForm>(registry, "TForm", "TCustomControl")
        .Custom("BorderIcons",
                [](TForm& f, const TLayoutValue& v, TLoadContext&) {
                    f.SetBorderIcons(LayoutSet(v, {{"biSystemMenu", biSystemMenu},
                                                   {"biMinimize", biMinimize},
                                                   {"biMaximize", biMaximize},
                                                   {"biHelp", biHelp}}));
                })
        .Enum(
            "BorderStyle",
            std::vector<std::pair<const char*, TFormBorderStyle>>{{"bsNone", bsNone},
                                                                  {"bsSingle", bsSingle},
                                                                  {"bsSizeable", bsSizeable},
                                                                  {"bsDialog", bsDialog},
                                                                  {"bsToolWindow", bsToolWindow},
                                                                  {"bsSizeToolWin", bsSizeToolWin}},
            &TForm::SetBorderStyle)
        .Enum("Position",
              std::vector<std::pair<const char*, TPosition>>{{"poDesigned", poDesigned},
                                                             {"poDefault", poDefault},
                                                             {"poScreenCenter", poScreenCenter},
                                                             {"poDesktopCenter", poDesktopCenter}},
              &TForm::SetPosition)
        .Int("PixelsPerInch", &TForm::SetPixelsPerInch)
        .Int("ClientWidth", &TForm::SetClientWidth)
        .Int("ClientHeight", &TForm::SetClientHeight)
        .Event("OnCreate", &TForm::OnCreate, "TNotifyEvent")
        .Event("OnDestroy", &TForm::OnDestroy, "TNotifyEvent")
        .Event("OnShow", &TForm::OnShow, "TNotifyEvent")
        .Event("OnClose", &TForm::OnClose, "TCloseEvent")
        .Event("OnCloseQuery", &TForm::OnCloseQuery, "TCloseQueryEvent");
}

void RegisterPanel(TPropertyRegistry& registry) {
    RegisterComponentClass<TPanel>(registry, "TPanel", "TCustomControl")
        .Enum("BevelOuter", kBevels, &TPanel::SetBevelOuter)
        .Enum("BevelInner", kBevels, &TPanel::SetBevelInner)
        .Int("BevelWidth", &TPanel::SetBevelWidth)
        .Int("BorderWidth", &TPanel::SetBorderWidth)
        .Enum("Alignment", kAlignments, &TPanel::SetAlignment);
}

void RegisterImageList(TPropertyRegistry& registry) {
    RegisterComponentClass<TImageList>(registry, "TImageList", "")
        .Custom("Width",
                [](TImageList& l, const TLayoutValue& v, TLoadContext&) {
                    l.SetSize(static_cast<int>(LayoutInt(v)), l.Height());
                })
        .Custom("Height",
                [](TImageList& l, const TLayoutValue& v, TLoadContext&) {
                    l.SetSize(l.Width(), static_cast<int>(LayoutInt(v)));
                })
        .Bool("Masked", &TImageList::SetMasked)
        .Color("BkColor", &TImageList::SetBkColor)
        .Custom("Pictures", [](TImageList& l, const TLayoutValue& v, TLoadContext&) {
            if (v.Kind != TLayoutValue::Collection)
                throw ELayoutError("a collection of pictures was expected");
            for (const TLayoutItem& item : v.Elements) {
                const TPixelImage picture = LayoutPicture(item);
                if (picture.Width != l.Width() || picture.Height != l.Height())
                    throw ELayoutError("picture of " + std::to_string(picture.Width) + "x" +
                                       std::to_string(picture.Height) + " in a list of " +
                                       std::to_string(l.Width()) + "x" +
                                       std::to_string(l.Height()));
                l.Add(picture);
            }
        });
}

void RegisterPopupMenu(TPropertyRegistry& registry) {
    RegisterComponentClass<TPopupMenu>(registry, "TPopupMenu", "")
        .Enum("Alignment",
              std::vector<std::pair<const char*, TPopupAlignment>>{
                  {"paLeft", paLeft}, {"paRight", paRight}, {"paCenter", paCenter}},
              &TPopupMenu::SetAlignment)
        .Event("OnPopup", &TPopupMenu::OnPopup, "TNotifyEvent")
        .Custom("Items", [](TPopupMenu& menu, const TLayoutValue& v, TLoadContext& ctx) {
            if (v.Kind != TLayoutValue::Collection)
                throw ELayoutError("a collection of menu items was expected");
            for (const TLayoutItem& element : v.Elements) {
                TMenuItem item;
                for (const TLayoutProperty& p : element.Properties) {
                    if (p.Name == "Caption")
                        item.Caption = LayoutString(p.Value);
                    else if (p.Name == "Enabled")
                        item.Enabled = LayoutBool(p.Value);
                    else if (p.Name == "Checked")
                        item.Checked = LayoutBool(p.Value);
                    else if (p.Name == "OnClick")
                        item.OnClick = ctx.Handlers.Get<TNotifyEvent>(LayoutIdentifier(p.Value),
                                                                      "TNotifyEvent");
                    else
                        throw ELayoutError("unknown menu item property '" + p.Name + "'");
                }
                menu.Items().push_back(std::move(item));
            }
        });
}

void RegisterTimer(TPropertyRegistry& registry) {
    RegisterComponentClass<TTimer>(registry, "TTimer", "")
        .Bool("Enabled", &TTimer::SetEnabled)
        .Int("Interval", &TTimer::SetInterval)
        .Event("OnTimer", &TTimer::OnTimer, "TNotifyEvent");
}

} // namespace

void RegisterStandardClasses(TPropertyRegistry& registry) {
    RegisterControl(registry);
    RegisterForm(registry);
    RegisterPanel(registry);
    RegisterImageList(registry);
    RegisterPopupMenu(registry);
    RegisterTimer(registry);
}

} // namespace fw
