#include "Hints/BezierPathQuartzUtilities.h"

namespace BezierPathQuartzUtilities {

std::optional<QPainterPath> quartzPath(const QPainterPath& path) {
    if (path.elementCount() == 0)
        return std::nullopt;
    QPainterPath result;
    bool closed = true;
    QPointF subpathStart;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        switch (element.type) {
        case QPainterPath::MoveToElement:
            result.moveTo(element);
            subpathStart = element;
            break;
        case QPainterPath::LineToElement:
            result.lineTo(element);
            // A line back to where the subpath began is how a closed subpath ends here.
            closed = QPointF(element) == subpathStart;
            break;
        case QPainterPath::CurveToElement: {
            const QPointF c1 = element;
            const QPointF c2 = path.elementAt(i + 1);
            const QPointF end = path.elementAt(i + 2);
            result.cubicTo(c1, c2, end);
            i += 2;
            closed = false;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    if (!closed)
        result.closeSubpath();
    return result;
}

} // namespace BezierPathQuartzUtilities
