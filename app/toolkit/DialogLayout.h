#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// A dialog's layout as data: caption, size, font and controls, all positions
// in dialog units. Layouts are compiled in from resources/layouts/<id>.json.
//
// Dialog units: one horizontal unit is a quarter of the dialog font's average
// character width, one vertical unit an eighth of its height, so a layout
// keeps its proportions with every font, screen and scale.

// The kinds of control a layout can hold.
enum class ControlKind {
    PushButton,   // QPushButton; `defaultButton` marks the dialog's default
    RadioButton,  // auto radio button; `groupStart` begins a new exclusive group
    Edit,         // single-line text box (QLineEdit)
    DropList,     // drop-down list without typing (QComboBox); `sorted`, initial `items`
    GroupBox,     // frame with a title, drawn behind the other controls
    Label,        // static text; `centred` or left aligned
    ProgressBar,  // QProgressBar
    ListBox,      // list of entries, one chosen at a time (a QListView over the dialog's entries)
    CheckBox,     // auto check box (QCheckBox)
};

struct ControlLayout {
    int id = -1;  // -1: a control no code addresses
    ControlKind kind = ControlKind::Label;
    QString text;  // caption
    QRect rect;    // x, y, width, height in dialog units
    bool tabStop = false;
    bool defaultButton = false;
    bool groupStart = false;
    bool readOnly = false;
    bool border = true;    // text boxes: framed
    bool centred = false;  // labels
    bool sorted = false;   // drop-down lists keep their entries sorted
    QStringList items;     // drop-down lists: initial entries, in layout order
    // The name screen readers and desktop automation find the control by;
    // empty: the toolkit's default (a button's caption). Not drawn.
    QString accessibleName;
};

struct DialogLayout {
    int id = 0;
    QString caption;
    QSize size;  // dialog units
    QString fontFace;
    int fontPoints = 8;
    // The application's own window, listed in the task bar ("appWindow" in
    // the resource); other dialogs are transient dialogs of their owner.
    bool applicationWindow = false;
    std::vector<ControlLayout> controls;  // in tab and creation order

    const ControlLayout* Find(int controlId) const;
};

// Reads layout `id` from the compiled-in resources. nullopt if there is no
// such layout or it does not parse; the loader never half-fills a layout.
std::optional<DialogLayout> LoadDialogLayout(int id);
// Parses a layout from JSON text (the resource format).
std::optional<DialogLayout> ParseDialogLayout(const QByteArray& json);

// Pixels per 4 horizontal and 8 vertical dialog units: the average character
// width and the height of the font.
struct DialogBaseUnits {
    int charWidth = 0;
    int charHeight = 0;
};

// Converts a rectangle in dialog units to pixels (rounded to nearest).
QRect DialogUnitsToPixels(const QRect& units, DialogBaseUnits base);
QSize DialogUnitsToPixels(const QSize& units, DialogBaseUnits base);
