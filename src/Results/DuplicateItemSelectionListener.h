#pragma once

class DuplicateItem;
class DuplicatesGroup;

// What a group's selection and copies list tell a copy about itself. A copy ignores calls
// about another copy.
class DuplicateItemSelectionListener {
public:
    virtual ~DuplicateItemSelectionListener() = default;
    virtual void onItemSelectionChanged(DuplicateItem* item) = 0;
    virtual void onItemWillRemovedFromGroup(DuplicateItem* item, DuplicatesGroup* group) = 0;
};
