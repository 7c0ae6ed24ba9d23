#pragma once

class DuplicatesGroup;

// Brackets every change of a group's values: the category subtracts the group's values on
// the first call and adds them back on the second. A group also listens to its own copies
// list and selection this way, and ignores reports about another group.
class DuplicatesGroupListener {
public:
    virtual ~DuplicatesGroupListener() = default;
    virtual void onGroupWillChange(DuplicatesGroup* group) = 0;
    virtual void onGroupDidChanged(DuplicatesGroup* group) = 0;
};
