#pragma once

#include <QString>

// Type identifiers of file-name extensions, over the shared MIME database. An identifier
// is a MIME type name. Only the extension is matched (never file contents), so the answer
// for an extension is the same on every call. Safe to call from any thread.
class TypeIdentifier final {
public:
    // The families a type can belong to, in the terms the file-type service tests them.
    enum class Conformance {
        Image,            // image/*
        Movie,            // video/* and a few video containers outside that tree
        Audio,            // audio/*
        Content,          // text, mail, office documents, PDF, e-books
        CompositeContent, // page-description documents: PDF, PostScript, XPS
        OpenXml,          // Office Open XML documents
        Archive,          // archives, compressed files, disk images, packages
        Data,             // every type the database knows of that is byte data
    };

    // The preferred identifier for a file-name extension (without the dot; case as
    // written). An extension the database does not know gives the dynamic identifier,
    // "application/octet-stream". An empty extension gives an empty identifier.
    static QString preferredIdentifierForExtension(const QString& extension);

    // True for the identifier that stands for "no type known for this extension".
    static bool isDynamic(const QString& identifier);

    // True when the type, or a type it inherits from, belongs to the family. False for an
    // empty or unknown identifier. The dynamic identifier conforms to Data only.
    static bool conformsTo(const QString& identifier, Conformance conformance);

    TypeIdentifier() = delete;
};
