#pragma once

#include <QStringList>

class QWidget;

// uibench: how the interface keeps up with large results and a running engine. Every
// subcommand lives in a file of its own and registers itself with a static
// UiBench::Command; main() runs the application (offscreen, settings in a temporary home)
// and hands the subcommand its arguments. Every figure is printed on its own line as
// "name: value ms".
namespace UiBench {

using Run = int (*)(const QStringList& args);

// Registers a subcommand for the whole run; `usage` follows the name in the usage text.
struct Command {
    Command(const char* name, const char* usage, Run run);
};

void printFigure(const char* name, qint64 ms);

// A figure of the results command that lives in a file of its own (it builds the result it
// needs and prints its own lines); registered by a static ResultsFigure and run, in name
// order, after the command's own figures. Answers false when it failed.
using FigureRun = bool (*)();
struct ResultsFigure {
    ResultsFigure(const char* name, FigureRun run);
};
// Runs every registered results figure; false when one failed.
bool runResultsFigures();

// Runs what the main thread still owes the last user action: every posted event and queued
// call (also those they post in turn), then a synchronous paint of `window`, as the next
// frame would. The time it takes belongs to the action.
void settle(QWidget* window);

// The value after `--name` in `args` as a positive number; `fallback` when absent. False
// in `ok` for a value that is not a positive number.
qint64 numberOption(const QStringList& args, const QString& name, qint64 fallback, bool& ok);

} // namespace UiBench
