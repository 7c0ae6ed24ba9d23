#include "Promo/PromoLog.h"

Q_LOGGING_CATEGORY(promoLog, "sorvanta.promo")
