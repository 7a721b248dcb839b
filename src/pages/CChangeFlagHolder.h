// What a page needs of the sheet that holds it: the change flag, whose bit of
// value 1 means that the tables hold changes the mapping file does not, and
// the history that Undo and Redo walk.
#pragma once

#include "framework/Types.h"
#include "pages/EditHistory.h"

constexpr int kUnsavedChanges = 1;

class CChangeFlagHolder {
public:
    virtual int GetChangeFlags() const = 0;
    // Sets the bits of nMask when bOn is nonzero, clears them otherwise.
    virtual void SetChangeFlag(int nMask, BOOL bOn) = 0;
    // Records what an action just did, for Undo.
    virtual void AddEditStep(EditStep step) = 0;

protected:
    ~CChangeFlagHolder() = default;
};
