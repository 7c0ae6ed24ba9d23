#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

struct TBXMLAttribute {
    const char* name = nullptr;
    const char* value = nullptr;
    TBXMLAttribute* next = nullptr;
};

// One element of a parsed document. Name and text point into the reader's buffer and are
// zero-terminated there; they, and the links, are valid while the reader lives.
struct TBXMLElement {
    const char* name = nullptr;
    const char* text = nullptr; // none: the element has no text
    TBXMLAttribute* firstAttribute = nullptr;
    TBXMLElement* parentElement = nullptr;
    TBXMLElement* firstChild = nullptr;
    TBXMLElement* lastChild = nullptr; // the child appended last
    TBXMLElement* nextSibling = nullptr;
    TBXMLElement* previousSibling = nullptr;
};

// A small, forgiving XML reader for the promotional feed. It copies the document into one
// buffer and cuts that buffer in place into element names and texts: no validation, no
// namespaces, no entity decoding, no encoding conversion. A document that is not well formed
// still yields whatever elements the cutting finds; closing tags close the current element
// whatever their name. Every search is bounded by the copy, which ends at the first zero
// byte of the input, so no input makes the reader look past its buffer.
class TBXML final {
public:
    // Error codes of the reader's own domain ("com.velquor.sorvanta.TBXML").
    enum Error {
        NoError = 0,
        DataIsNil = 1,
        DecodeFailure = 2,
        MemoryAllocationFailure = 3,
        FileNotFoundInBundle = 4,
        ElementIsNil = 5,
        ElementNameIsNil = 6,
        ElementNotFound = 7,
        ElementTextIsNil = 8,
        AttributeIsNil = 9,
        AttributeNameIsNil = 10,
        AttributeNotFound = 11,
        ParamNameIsNil = 12,
    };
    static const char* const kErrorDomain;

    // Far more elements and attributes than any feed holds (tens of notifications of ten
    // elements each); a document with more is refused whole, so the records of any input
    // stay within a few megabytes.
    static constexpr int kMaxElements = 20000;
    static constexpr int kMaxAttributes = 20000;

    // Parses a copy of `data` in time linear in its length. Always answers a reader;
    // `error`, when given, receives 1 for empty input, 2 when no element was found, 3 when
    // the copy could not be made or the document holds more than kMaxElements elements or
    // kMaxAttributes attributes (then there is no root either), else 0.
    static std::unique_ptr<TBXML> newTBXMLWithXMLData(const QByteArray& data, int* error = nullptr);

    ~TBXML();
    TBXML(const TBXML&) = delete;
    TBXML& operator=(const TBXML&) = delete;

    // The first element of the document, or none.
    const TBXMLElement* rootXMLElement() const { return m_rootXMLElement; }

    // The first child of `parent` whose name equals `name` byte for byte (as UTF-8); none
    // when there is no such child or no parent.
    static const TBXMLElement* childElementNamed(const QString& name, const TBXMLElement* parent);
    // The first following sibling of `element` with that name; none likewise.
    static const TBXMLElement* nextSiblingNamed(const QString& name, const TBXMLElement* element);
    // The element's text decoded from UTF-8: the empty string when the element has no text
    // or there is no element; nothing when the text is not valid UTF-8.
    static std::optional<QString> textForElement(const TBXMLElement* element);
    // The element's name as raw bytes (empty for no element).
    static QByteArray elementName(const TBXMLElement* element);
    // The attribute records of an element, in document order (names and values as bytes).
    static std::vector<std::pair<QByteArray, QByteArray>> attributesOf(const TBXMLElement* element);

    // "Data is nil" ... "Parameter name is nil"; "No Error Description!" for other codes.
    static QString errorDescription(int code);

private:
    TBXML() = default;
    int decodeData(const QByteArray& data);
    void decodeBytes();
    // None once kMaxElements / kMaxAttributes records were handed out.
    TBXMLElement* nextAvailableElement();
    TBXMLAttribute* nextAvailableAttribute();
    // False when the attribute records ran out (kMaxAttributes).
    bool readAttributes(TBXMLElement* element, qsizetype from, qsizetype to);
    // Drops every record and the root: the document is refused whole.
    void refuseOverLimit();

    // Records come from blocks of 100, so a document costs one allocation per 100 elements.
    static constexpr int kBlockSize = 100;
    using ElementBlock = std::array<TBXMLElement, kBlockSize>;
    using AttributeBlock = std::array<TBXMLAttribute, kBlockSize>;

    std::unique_ptr<char[]> m_bytes; // the copy, one zero byte appended
    qsizetype m_bytesLength = 0;     // up to (not counting) the appended zero byte
    std::vector<std::unique_ptr<ElementBlock>> m_elementBlocks;
    int m_currentElement = kBlockSize;
    std::vector<std::unique_ptr<AttributeBlock>> m_attributeBlocks;
    int m_currentAttribute = kBlockSize;
    TBXMLElement* m_rootXMLElement = nullptr;
    int m_elementCount = 0;
    int m_attributeCount = 0;
    bool m_overLimit = false;
};
