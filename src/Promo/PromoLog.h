#pragma once

#include <QLoggingCategory>

// The promotions' log: one line per refused feed document or archive, per folder that could
// not be removed, per ignored application identifier. Nothing of it is shown to the user.
Q_DECLARE_LOGGING_CATEGORY(promoLog)
