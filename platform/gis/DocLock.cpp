#include "platform/gis/DocLock.h"

namespace TAVGis::Utility {
CDocLock::CDocLock() : m_doc(acDocManagerPtr()->curDocument()) {
    if (m_doc) acDocManagerPtr()->lockDocument(*m_doc);
}
CDocLock::~CDocLock() {
    if (m_doc) acDocManagerPtr()->unlockDocument(*m_doc);
}
}  // namespace TAVGis::Utility

CTAVCDocLock::CTAVCDocLock() : m_doc(acDocManagerPtr()->curDocument()) {
    if (m_doc) acDocManagerPtr()->lockDocument(*m_doc);
}
CTAVCDocLock::~CTAVCDocLock() {
    if (m_doc) acDocManagerPtr()->unlockDocument(*m_doc);
}
