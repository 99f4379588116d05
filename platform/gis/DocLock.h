#pragma once
// Document locks: held while a command or a dialog changes the current drawing.
#include "platform/host/Document.h"

namespace TAVGis::Utility {

// Locks the current document while it lives (the GIS core's lock).
class CDocLock {
public:
    CDocLock();
    ~CDocLock();
    CDocLock(const CDocLock&) = delete;
    CDocLock& operator=(const CDocLock&) = delete;

private:
    TAVHost::Document* m_doc;
};

}  // namespace TAVGis::Utility

// The drawing wrapper's lock of the current document.
class CTAVCDocLock {
public:
    CTAVCDocLock();
    ~CTAVCDocLock();
    CTAVCDocLock(const CTAVCDocLock&) = delete;
    CTAVCDocLock& operator=(const CTAVCDocLock&) = delete;

private:
    TAVHost::Document* m_doc;
};
