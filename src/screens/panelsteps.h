#pragma once

class QString;

namespace coop {

// What the buttons of a document screen's edit panel do with its entries. The document screen runs
// the panel (which buttons are enabled, the edit mode, the reload and the row that stays current);
// the panel's steps know its controls and its statements.
class PanelSteps
{
public:
    virtual ~PanelSteps() = default;

    // Fills the entries for adding (editing false) or with the current row.
    virtual void prepare(bool editing) = 0;
    // Runs the insert or the update; false when the entry check refused (it told the clerk).
    virtual bool write(bool inserting) = 0;
    // Empties the entries once the panel closes.
    virtual void clear() = 0;
    // Deletes the row with this id.
    virtual void remove(const QString &id) = 0;
};

} // namespace coop
