#pragma once
// Documents (open drawings) and the document manager: the current document, the resource-handle stack
// and the document lock. Each document owns its drawing database, the editor state a host displays
// (highlights, zoom, redraw and update requests) and slots for the data of the core libraries.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/Database.h"
#include "platform/host/ResourceModule.h"

namespace TAVHost {

// Data a core library keeps per drawing (the GIS data, for example).
class DocumentExtension {
public:
    virtual ~DocumentExtension() = default;
};

// What the editor shows; hosts may coalesce redraw and update requests, so they are only counted.
struct EditorState {
    std::map<ObjectId, int> highlighted;  // entity -> colour index it is shown in
    std::vector<ObjectId> lastZoomIds;
    double lastZoomFactor = 0.0;
    long zoomCount = 0;
    long redrawCount = 0;
    int lastRedrawMode = 0;
    long updateDisplayCount = 0;
    long viewRefreshCount = 0;
};

class Document {
public:
    explicit Document(std::string name);
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Drawing name with extension, as the system variable DWGNAME shows it.
    const std::string& Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    // Full path of the drawing file; empty for a drawing never saved.
    const std::string& Path() const { return m_path; }
    void SetPath(std::string path) { m_path = std::move(path); }

    Database& Db() { return m_db; }
    const Database& Db() const { return m_db; }
    EditorState& Editor() { return m_editor; }

    int LockCount() const { return m_lockCount; }
    void Lock() { ++m_lockCount; }
    void Unlock() { --m_lockCount; }

    template <class T>
    T& Extension(const std::string& key) {
        auto& slot = m_extensions[key];
        if (!slot) slot = std::make_unique<T>();
        return static_cast<T&>(*slot);
    }
    template <class T>
    T* FindExtension(const std::string& key) {
        auto it = m_extensions.find(key);
        return it == m_extensions.end() ? nullptr : static_cast<T*>(it->second.get());
    }
    void SetExtension(const std::string& key, std::unique_ptr<DocumentExtension> ext) {
        m_extensions[key] = std::move(ext);
    }

private:
    std::string m_name;
    std::string m_path;
    Database m_db;
    EditorState m_editor;
    int m_lockCount = 0;
    // Destroyed before the database: extensions may refer to it.
    std::map<std::string, std::unique_ptr<DocumentExtension>> m_extensions;
};

class DocumentManager {
public:
    // Creates a new empty document and makes it current.
    Document& NewDocument(const std::string& name);
    // Takes an existing document (read from a file) and makes it current.
    Document& AddDocument(std::unique_ptr<Document> doc);
    void CloseDocument(Document& doc);
    Document* curDocument() const { return m_current; }
    void SetCurrent(Document& doc) { m_current = &doc; }
    const std::vector<std::unique_ptr<Document>>& Documents() const { return m_documents; }

    void pushResourceHandle(HINSTANCE h) { m_resourceStack.push_back(h); }
    void popResourceHandle();
    HINSTANCE curResourceHandle() const { return m_resourceStack.empty() ? nullptr : m_resourceStack.back(); }
    std::size_t ResourceStackDepth() const { return m_resourceStack.size(); }

    void lockDocument(Document& doc) { doc.Lock(); }
    void unlockDocument(Document& doc) { doc.Unlock(); }

private:
    std::vector<std::unique_ptr<Document>> m_documents;
    Document* m_current = nullptr;
    std::vector<HINSTANCE> m_resourceStack;
};

}  // namespace TAVHost

TAVHost::DocumentManager* acDocManagerPtr();
// The current drawing; throws std::logic_error when no drawing is open.
TAVHost::Document& CurrentDocument();
