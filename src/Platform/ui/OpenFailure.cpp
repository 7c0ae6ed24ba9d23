#include "Platform/ui/OpenFailure.h"

#include <cstdio>

namespace OpenFailure {

namespace {

Handler& handler() {
    static Handler value;
    return value;
}

} // namespace

void setHandler(Handler value) {
    handler() = std::move(value);
}

void report(const QString& message, const QString& reason) {
    if (handler()) {
        handler()(message, reason);
        return;
    }
    std::fprintf(stderr, "%s %s\n", qPrintable(message), qPrintable(reason));
}

} // namespace OpenFailure
