// A page of the property sheet. A page lists its controls in a table (control id, parameter,
// kind, dialog-unit rectangle, update rule, text); the base class builds the widgets, fills them
// from the parameter set, hands every edit to the owner at once, and enables them in the idle
// pass by their rules. Pages only add their tables and what is special about them.
#pragma once

#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "gui/dialog_units.h"
#include "params/parameter_changes.h"
#include "window/page_plan.h"
#include "window/update_rules.h"

class ModemParameterSet;

namespace vxl::gui {

enum class ControlKind {
    Label,
    GroupBox,
    ReadOnlyText,  // the parameter's text, with the row's suffix
    Text,          // a free text; the row's limit is its length limit
    CallSign,
    Integer,
    HexInteger,
    Decimal,
    SelectionBox,  // choices in a read-only edit part
    List,          // choices in a drop-down list
    CheckBox,
    PushButton,
    RadioButton,  // one choice of the parameter: the row's limit is the choice's value
    UpDown,       // arrows beside the field of their parameter; the page decides what a step does
};

struct ControlSpec {
    int controlId;    // 0 for controls without an id
    int parameterId;  // -1 for controls that show no parameter
    ControlKind kind;
    DluRect rect;
    UpdateRule rule;
    const char* text;              // label, group box, check box or button text
    const char* name;              // object name of a control that shows no parameter
    const char* help = nullptr;    // what the control is for (What's This, Shift+F1)
    const char* suffix = nullptr;  // read-only texts: appended to the parameter's text
    int limit = 0;                 // text fields: length limit; radio buttons: the choice
};

// Where the pages' edits go (the main window, which hands them to the coordinator). `page` is
// the page the edit was made on.
class EditSink {
  public:
    virtual ~EditSink() = default;
    virtual void EditInt(SheetPage page, int id, int value) = 0;
    virtual void EditBool(SheetPage page, int id, bool value) = 0;
    virtual void EditReal(SheetPage page, int id, double value) = 0;
    virtual void EditText(SheetPage page, int id, const std::string& text) = 0;
};

class Page : public QWidget {
    Q_OBJECT
  public:
    Page(SheetPage index, const QString& title, int dialogId, EditSink* sink,
         QWidget* parent = nullptr);

    SheetPage index() const { return index_; }
    const QString& title() const { return title_; }
    bool changed() const { return changed_; }
    void SetChanged(bool changed) { changed_ = changed; }

    // Shows the parameters that changed as the parameter set holds them, every control that
    // shows one of them but the one of `keptId` (the control the operator is changing).
    virtual void Refresh(const ParameterChanges& changes, ModemParameterSet& parameters,
                         int keptId = -1);
    // Fills every control that shows a parameter.
    void Fill(ModemParameterSet& parameters) { Refresh(ParameterChanges::All(), parameters); }
    // The idle-time enabling pass.
    virtual void UpdateControls(bool loaded, ModemParameterSet* parameters);
    // Hides a control for good (the main window hides those the End User level never uses).
    void HideControl(int controlId);
    // Empties every text the page shows (after the modem is released).
    virtual void ClearTexts();

    QWidget* Control(int controlId) const;
    QWidget* ParameterControl(int parameterId) const;

  signals:
    // A push button of the page was clicked.
    void buttonClicked(int controlId);

  protected:
    // Builds the page's controls from its table; `units` converts the rectangles.
    void Build(const std::vector<ControlSpec>& table, const DialogUnits& units);
    // An edit of the control of `spec`: marks the page changed and hands the value on.
    virtual void OnEdited(const ControlSpec& spec, QWidget* control);
    void FillControl(const ControlSpec& spec, QWidget* control, ModemParameterSet& parameters);

    EditSink* sink_;

  private:
    QWidget* Create(const ControlSpec& spec);
    void ClearControl(const ControlSpec& spec, QWidget* control);

    SheetPage index_;
    QString title_;
    bool changed_ = false;
    struct Entry {
        ControlSpec spec;
        QWidget* widget;
    };
    std::vector<Entry> controls_;
    bool showingValue_ = false;  // a value from the core is being shown, not typed
};

// The name a control is found by: its parameter's key, else the row's name.
QString ControlName(const ControlSpec& spec);

}  // namespace vxl::gui
