#pragma once
// Dialog templates, menus and strings as data. The platform builds windows from these.
//
// Rectangles are either dialog units (tool dialogs; converted to pixels with the template's
// font) or fractions of the window's width and height (windows laid out by fractions).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum class ControlKind {
    PushButton,      // BS_PUSHBUTTON
    DefPushButton,   // the default button
    CheckBox,        // auto check box
    RadioButton,     // auto radio button; kGroup starts a new group
    Static,          // text label
    GroupBox,
    Picture,         // icon or bitmap (caption: resource name)
    Edit,
    RichEdit,
    ComboDropList,   // drop-down list, no edit field
    ComboDropDown,   // drop-down with an edit field
    ListReport,      // report-style list control
    Tree,
    Tab,
    IpAddress,
    Progress,
};

// Style flags of a control (combine with |).
enum class ControlStyle : uint32_t {
    kNone = 0,
    kHidden = 1u << 0,       // not visible at creation
    kDisabled = 1u << 1,
    kMultiline = 1u << 2,    // edits
    kReadOnly = 1u << 3,     // edits
    kVScroll = 1u << 4,
    kHScroll = 1u << 5,
    kSorted = 1u << 6,       // combo boxes: entries sorted by GBK bytes, case-insensitive
    kNumber = 1u << 7,       // edits: digits only
    kPassword = 1u << 8,
    kWantReturn = 1u << 9,   // multi-line edits: Enter inserts a line break
    kCheckBoxes = 1u << 10,  // report lists
    kGroup = 1u << 11,       // first radio button of a group
    kCenter = 1u << 12,      // static text centred
    kRight = 1u << 13,       // static text right-aligned
    kSunken = 1u << 14,      // static with a sunken frame
    kNoSort = 1u << 15,      // report lists: header clicks do not sort
    kSingleSel = 1u << 16,   // report lists: one selected row at most
    kHasButtons = 1u << 17,  // trees
    kHasLines = 1u << 18,    // trees
    kUpperCase = 1u << 19,   // edits
    kAutoHScroll = 1u << 20,
    kShowSelAlways = 1u << 21,  // report lists: the selection shows without the focus too
};

constexpr ControlStyle operator|(ControlStyle a, ControlStyle b) {
    return static_cast<ControlStyle>(static_cast<uint32_t>(a) | static_cast<uint32_t>(b));
}
// True when the style bits hold the flag.
constexpr bool HasStyle(uint32_t bits, ControlStyle flag) { return (bits & static_cast<uint32_t>(flag)) != 0; }
constexpr bool HasStyle(ControlStyle style, ControlStyle flag) { return HasStyle(static_cast<uint32_t>(style), flag); }

struct ControlTemplate {
    int id;  // -1 for plain labels
    ControlKind kind;
    const char* caption;  // UTF-8
    double x, y, w, h;    // dialog units or fractions, as the dialog's units say
    ControlStyle style;
};

enum class TemplateUnits { DialogUnits, Fractions };

// Style flags of a dialog.
enum DialogStyle : uint32_t {
    kDlgNone = 0,
    kDlgChild = 1u << 0,        // a page placed inside a parent window
    kDlgSystemMenu = 1u << 1,
    kDlgMinimizeBox = 1u << 2,
    kDlgMaximizeBox = 1u << 3,
    kDlgResizable = 1u << 4,
    kDlgVisible = 1u << 5,      // shown when created (modeless)
    kDlgToolWindow = 1u << 6,
};

struct DialogTemplate {
    int id;
    const char* caption;
    TemplateUnits units;
    int width, height;  // dialog units; for fraction layouts, the initial size in pixels
    const char* fontName;
    int fontPointSize;
    uint32_t style;
    int menuId;  // 0: no menu
    std::vector<ControlTemplate> controls;
};

struct MenuItemTemplate {
    int id;  // 0: separator or a popup (when it has children)
    const char* caption;
    std::vector<MenuItemTemplate> children;
};

struct MenuTemplate {
    int id;
    std::vector<MenuItemTemplate> items;
};

// Where the lookups below find templates, menus and strings: the program registers its own
// at start-up, before it makes its first window. Each member answers nullptr for an id it
// does not hold; a member left empty holds nothing.
struct ResourceSource {
    std::function<const DialogTemplate*(int id)> dialog;
    std::function<const MenuTemplate*(int id)> menu;
    std::function<const char*(int id)> string;
};

// Adds a source. Sources registered later are asked first. Any thread.
void RegisterResourceSource(ResourceSource source);

// Looks up the registered resources. nullptr (or "" for strings) when none holds the id.
const DialogTemplate* FindDialogTemplate(int id);
const MenuTemplate* FindMenuTemplate(int id);
const char* LoadResString(int id);
// Adds a source of image files by resource id; later ones are asked first. Any thread.
void RegisterImageSource(std::function<const char*(int id)> source);
// The file of an image resource, or nullptr.
const char* FindImageFile(int id);

// Pixel conversion of dialog units for the templates' font.
int DialogUnitsToPixelsX(double du);
int DialogUnitsToPixelsY(double du);
