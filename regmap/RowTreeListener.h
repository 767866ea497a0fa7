#pragma once

class RegisterRow;

// What a view of a row tree is told. Every change of the tree goes through
// RegisterRowTree, which calls these after the change; removals and clearing
// are told before and after.
class RowTreeListener
{
public:
    virtual ~RowTreeListener() = default;
    virtual void RowsClearing() {}
    virtual void RowsCleared() {}
    virtual void TopRowAppended(const RegisterRow &) {}
    virtual void TopRowRemoving(const RegisterRow &) {}
    virtual void TopRowRemoved() {}
    // Caption, value, baseline, description or expanded state of one row.
    virtual void RowChanged(const RegisterRow &) {}
    virtual void HeaderTitlesChanged() {}
    // Every value is now drawn in the other base.
    virtual void NumberBaseChanged() {}
    virtual void SelectionChanged() {}
};
