#include "platform/host/Document.h"

#include <algorithm>
#include <stdexcept>

namespace TAVHost {

Document::Document(std::string name) : m_name(std::move(name)) {}

Document& DocumentManager::NewDocument(const std::string& name) {
    return AddDocument(std::make_unique<Document>(name));
}

Document& DocumentManager::AddDocument(std::unique_ptr<Document> doc) {
    m_documents.push_back(std::move(doc));
    m_current = m_documents.back().get();
    return *m_current;
}

void DocumentManager::CloseDocument(Document& doc) {
    auto it = std::find_if(m_documents.begin(), m_documents.end(), [&](auto& d) { return d.get() == &doc; });
    if (it == m_documents.end()) return;
    m_documents.erase(it);
    if (m_current == &doc) m_current = m_documents.empty() ? nullptr : m_documents.back().get();
}

void DocumentManager::popResourceHandle() {
    if (m_resourceStack.empty()) throw std::logic_error("resource handle stack is empty");
    m_resourceStack.pop_back();
}

}  // namespace TAVHost

TAVHost::DocumentManager* acDocManagerPtr() {
    static TAVHost::DocumentManager manager;
    return &manager;
}

TAVHost::Document& CurrentDocument() {
    auto* doc = acDocManagerPtr()->curDocument();
    if (!doc) throw std::logic_error("no drawing is open");
    return *doc;
}
