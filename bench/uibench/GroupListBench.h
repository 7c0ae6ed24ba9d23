#pragma once

class SelectDuplicatesVC;

// The group list's figures, run by "uibench results" on its screen and big result: the
// All Files list (every group of the result) is entered, then each sort type, a search
// letter, a refresh after a selection and a screenful's paint are timed, and the list's
// memory per row is printed. Answers 0, or 1 when a step never finished.
int runGroupListFigures(SelectDuplicatesVC& screen);
