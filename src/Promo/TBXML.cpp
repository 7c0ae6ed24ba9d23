#include "Promo/TBXML.h"

#include "Promo/Utf8Check.h"

#include <cstring>
#include <new>

const char* const TBXML::kErrorDomain = "com.velquor.sorvanta.TBXML";

namespace {

bool isXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Bounded searches over the buffer [0, length). Every position handed back is inside it.
struct Bytes {
    char* data;
    qsizetype length;

    bool startsWith(qsizetype at, const char* literal) const {
        const auto n = static_cast<qsizetype>(std::strlen(literal));
        return at >= 0 && length - at >= n && std::memcmp(data + at, literal, n) == 0;
    }
    qsizetype find(qsizetype from, const char* literal) const {
        const auto n = static_cast<qsizetype>(std::strlen(literal));
        for (qsizetype i = from; i >= 0 && i + n <= length; ++i) {
            if (std::memcmp(data + i, literal, n) == 0)
                return i;
        }
        return -1;
    }
    qsizetype findChar(qsizetype from, char c) const {
        if (from < 0 || from >= length)
            return -1;
        const void* hit = std::memchr(data + from, c, length - from);
        return hit ? static_cast<const char*>(hit) - data : -1;
    }
    qsizetype findAnyOf(qsizetype from, qsizetype to, const char* set) const {
        for (qsizetype i = std::max<qsizetype>(from, 0); i < to && i < length; ++i) {
            if (std::strchr(set, data[i]) && data[i] != '\0')
                return i;
        }
        return -1;
    }
    // Past the "]]>" of the CDATA section that starts at `at`, or -1 when it has no end.
    qsizetype pastCData(qsizetype at) const {
        const qsizetype end = find(at + 9, "]]>");
        return end < 0 ? -1 : end + 3;
    }
};

void trimText(TBXMLElement* element) {
    if (!element->text)
        return;
    const char* start = element->text;
    while (isXmlSpace(*start))
        ++start;
    char* end = const_cast<char*>(start) + std::strlen(start);
    while (end > start && isXmlSpace(end[-1]))
        --end;
    *end = '\0';
    element->text = start;
}

} // namespace

TBXML::~TBXML() = default;

std::unique_ptr<TBXML> TBXML::newTBXMLWithXMLData(const QByteArray& data, int* error) {
    std::unique_ptr<TBXML> reader(new TBXML);
    const int code = reader->decodeData(data);
    if (error)
        *error = code;
    return reader;
}

int TBXML::decodeData(const QByteArray& data) {
    if (data.isEmpty())
        return DataIsNil;
    // A zero byte ends the document: the copy stops there, so every later search, bounded by
    // the copy's length, sees exactly what a search stopping at the first zero byte would.
    const qsizetype length = qstrnlen(data.constData(), static_cast<size_t>(data.size()));
    m_bytes.reset(new (std::nothrow) char[static_cast<size_t>(length) + 1]);
    if (!m_bytes)
        return MemoryAllocationFailure;
    std::memcpy(m_bytes.get(), data.constData(), static_cast<size_t>(length));
    m_bytes[length] = '\0';
    m_bytesLength = length;
    decodeBytes();
    if (m_overLimit)
        return MemoryAllocationFailure;
    return m_rootXMLElement ? NoError : DecodeFailure;
}

void TBXML::decodeBytes() {
    const Bytes bytes{m_bytes.get(), m_bytesLength};
    char* const buf = m_bytes.get();
    TBXMLElement* current = nullptr;

    qsizetype p = bytes.findChar(0, '<');
    while (p >= 0) {
        if (bytes.startsWith(p, "<!--")) {
            // The comment stays in the surrounding text; only the search skips it.
            const qsizetype end = bytes.find(p + 4, "-->");
            if (end < 0)
                break;
            p = bytes.findChar(end + 3, '<');
            continue;
        }
        if (bytes.startsWith(p, "<![CDATA[")) {
            // A run of sections (with plain text between them) up to the first "<" that
            // starts no further section. The whole run is made plain text at once: each
            // section loses "<![CDATA[" and "]]>", everything moves left over the dropped
            // markers, and the freed bytes before that "<" become spaces that the trimming
            // of the element removes. Treating the sections one by one would move the rest
            // of the run once per section.
            // First the run is only walked, to find its end N: a section without an end, or
            // no "<" after the run, ends the cutting with nothing moved. Then it is walked
            // again, compacting as it goes; nothing is stored per section.
            qsizetype n = p;
            bool complete = true;
            while (n >= 0 && bytes.startsWith(n, "<![CDATA[")) {
                const qsizetype e = bytes.find(n + 9, "]]>");
                if (e < 0) {
                    complete = false;
                    break;
                }
                n = bytes.findChar(e + 3, '<');
            }
            if (!complete || n < 0)
                break;
            qsizetype out = p;
            qsizetype contentEnd = p;
            for (qsizetype start = p; start < n;) {
                // Read positions stay ahead of the write position, so each piece is moved
                // left before anything overwrites it.
                const qsizetype end = bytes.find(start + 9, "]]>");
                if (end < start + 9)
                    break; // cannot happen: the first walk found every end
                const qsizetype content = end - (start + 9);
                std::memmove(buf + out, buf + start + 9, static_cast<size_t>(content));
                out += content;
                contentEnd = out;
                qsizetype next = bytes.findChar(end + 3, '<');
                if (next < 0 || next > n)
                    next = n;
                const qsizetype text = next - (end + 3);
                std::memmove(buf + out, buf + end + 3, static_cast<size_t>(text));
                out += text;
                start = next;
            }
            std::memset(buf + out, ' ', static_cast<size_t>(n - out));
            // The contents may hold "<": the search goes on after the last of them.
            p = bytes.findChar(contentEnd, '<');
            continue;
        }

        // A tag: it ends at the first "<" or ">", stepping over CDATA sections inside it.
        qsizetype t = bytes.findAnyOf(p + 1, m_bytesLength, "<>");
        while (t >= 0 && bytes.startsWith(t, "<![CDATA[")) {
            const qsizetype past = bytes.pastCData(t);
            t = past < 0 ? -1 : bytes.findAnyOf(past, m_bytesLength, "<>");
        }
        if (t < 0)
            break;
        const char kind = buf[p + 1];
        const bool selfClosing = t - 1 > p && buf[t - 1] == '/';
        const bool noText = t + 1 < m_bytesLength && buf[t + 1] == '>';
        buf[p] = '\0';
        buf[t] = '\0';

        if (kind == '!' || kind == '?') {
            // A declaration, the XML declaration or a processing instruction.
        } else if (kind == '/') {
            if (current) {
                trimText(current);
                current = current->parentElement;
                if (current && current->firstChild)
                    current->text = nullptr;
            }
        } else {
            TBXMLElement* element = nextAvailableElement();
            if (!element) {
                refuseOverLimit();
                return;
            }
            element->name = buf + p + 1;
            const qsizetype nameEnd = bytes.findAnyOf(p + 1, t, " /\n");
            if (nameEnd >= 0)
                buf[nameEnd] = '\0';
            if (current) {
                element->parentElement = current;
                if (current->lastChild) {
                    current->lastChild->nextSibling = element;
                    element->previousSibling = current->lastChild;
                } else {
                    current->firstChild = element;
                }
                current->lastChild = element;
            }
            if (nameEnd >= 0 && !readAttributes(element, nameEnd + 1, t)) {
                refuseOverLimit();
                return;
            }
            if (!selfClosing) {
                element->text = noText ? nullptr : buf + t + 1;
                current = element;
            }
        }
        p = bytes.findChar(t + 1, '<');
    }
}

void TBXML::refuseOverLimit() {
    m_rootXMLElement = nullptr;
    m_elementBlocks.clear();
    m_attributeBlocks.clear();
    m_overLimit = true;
}

TBXMLElement* TBXML::nextAvailableElement() {
    if (m_elementCount >= kMaxElements)
        return nullptr;
    ++m_elementCount;
    if (m_currentElement >= kBlockSize) {
        m_elementBlocks.push_back(std::make_unique<ElementBlock>());
        m_currentElement = 0;
    }
    TBXMLElement* element = &(*m_elementBlocks.back())[m_currentElement++];
    if (!m_rootXMLElement)
        m_rootXMLElement = element;
    return element;
}

TBXMLAttribute* TBXML::nextAvailableAttribute() {
    if (m_attributeCount >= kMaxAttributes)
        return nullptr;
    ++m_attributeCount;
    if (m_currentAttribute >= kBlockSize) {
        m_attributeBlocks.push_back(std::make_unique<AttributeBlock>());
        m_currentAttribute = 0;
    }
    return &(*m_attributeBlocks.back())[m_currentAttribute++];
}

bool TBXML::readAttributes(TBXMLElement* element, qsizetype from, qsizetype to) {
    // Names and values are cut inside the tag [from, to) only (the byte at `to` is already
    // zero), so attributes never touch the element's name, text or links.
    char* const buf = m_bytes.get();
    TBXMLAttribute* last = nullptr;
    qsizetype i = from;
    while (i < to) {
        while (i < to && (isXmlSpace(buf[i]) || buf[i] == '/' || buf[i] == '\0'))
            ++i;
        if (i >= to)
            break;
        const qsizetype nameStart = i;
        while (i < to && !isXmlSpace(buf[i]) && buf[i] != '=' && buf[i] != '\0')
            ++i;
        while (i < to && buf[i] != '=' && buf[i] != '\0')
            ++i;
        if (i >= to || buf[i] != '=')
            break;
        buf[i++] = '\0';
        while (i < to && buf[i] != '"' && buf[i] != '\'')
            ++i;
        if (i >= to)
            break;
        const char quote = buf[i++];
        const qsizetype valueStart = i;
        while (i < to && buf[i] != quote)
            ++i;
        const qsizetype valueEnd = i;
        buf[valueEnd] = '\0';
        ++i;
        // The name ended at white space or "=": cut it there.
        for (qsizetype k = nameStart; k < valueStart; ++k) {
            if (isXmlSpace(buf[k])) {
                buf[k] = '\0';
                break;
            }
        }
        // CDATA markers inside a value are dropped, the value compacted in place.
        qsizetype out = valueStart;
        for (qsizetype k = valueStart; k < valueEnd;) {
            if (valueEnd - k >= 9 && std::memcmp(buf + k, "<![CDATA[", 9) == 0) {
                k += 9;
            } else if (valueEnd - k >= 3 && std::memcmp(buf + k, "]]>", 3) == 0) {
                k += 3;
            } else {
                buf[out++] = buf[k++];
            }
        }
        buf[out] = '\0';

        TBXMLAttribute* attribute = nextAvailableAttribute();
        if (!attribute)
            return false;
        attribute->name = buf + nameStart;
        attribute->value = buf + valueStart;
        if (last)
            last->next = attribute;
        else
            element->firstAttribute = attribute;
        last = attribute;
    }
    return true;
}

const TBXMLElement* TBXML::childElementNamed(const QString& name, const TBXMLElement* parent) {
    if (!parent)
        return nullptr;
    const QByteArray wanted = name.toUtf8();
    for (const TBXMLElement* child = parent->firstChild; child; child = child->nextSibling) {
        if (std::strlen(child->name) == static_cast<size_t>(wanted.size()) &&
            std::memcmp(child->name, wanted.constData(), static_cast<size_t>(wanted.size())) == 0)
            return child;
    }
    return nullptr;
}

const TBXMLElement* TBXML::nextSiblingNamed(const QString& name, const TBXMLElement* element) {
    if (!element)
        return nullptr;
    const QByteArray wanted = name.toUtf8();
    for (const TBXMLElement* sibling = element->nextSibling; sibling;
         sibling = sibling->nextSibling) {
        if (std::strlen(sibling->name) == static_cast<size_t>(wanted.size()) &&
            std::memcmp(sibling->name, wanted.constData(), static_cast<size_t>(wanted.size())) == 0)
            return sibling;
    }
    return nullptr;
}

std::optional<QString> TBXML::textForElement(const TBXMLElement* element) {
    if (!element || !element->text)
        return QString();
    const auto length = static_cast<qsizetype>(std::strlen(element->text));
    if (!Utf8Check::isValidUtf8(element->text, length))
        return std::nullopt;
    return QString::fromUtf8(element->text, length);
}

QByteArray TBXML::elementName(const TBXMLElement* element) {
    return element ? QByteArray(element->name) : QByteArray();
}

std::vector<std::pair<QByteArray, QByteArray>> TBXML::attributesOf(const TBXMLElement* element) {
    std::vector<std::pair<QByteArray, QByteArray>> list;
    for (const TBXMLAttribute* a = element ? element->firstAttribute : nullptr; a; a = a->next)
        list.emplace_back(QByteArray(a->name), QByteArray(a->value));
    return list;
}

QString TBXML::errorDescription(int code) {
    switch (code) {
    case DataIsNil:
        return QStringLiteral("Data is nil");
    case DecodeFailure:
        return QStringLiteral("Decode failure");
    case MemoryAllocationFailure:
        return QStringLiteral("Unable to allocate memory");
    case FileNotFoundInBundle:
        return QStringLiteral("File not found in bundle");
    case ElementIsNil:
        return QStringLiteral("Element is nil");
    case ElementNameIsNil:
        return QStringLiteral("Element name is nil");
    case ElementNotFound:
        return QStringLiteral("Element not found");
    case ElementTextIsNil:
        return QStringLiteral("Element text is nil");
    case AttributeIsNil:
        return QStringLiteral("Attribute is nil");
    case AttributeNameIsNil:
        return QStringLiteral("Attribute name is nil");
    case AttributeNotFound:
        return QStringLiteral("Attribute not found");
    case ParamNameIsNil:
        return QStringLiteral("Parameter name is nil");
    default:
        return QStringLiteral("No Error Description!");
    }
}
