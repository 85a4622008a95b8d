// Run-time class records of the root class, and the end of the process
// on an error that no one handles.
#include "afx.h"

#include <cstdlib>

const CRuntimeClass CObject::classCObject = { "CObject", sizeof(CObject), nullptr };

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &classCObject;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    for (const CRuntimeClass* p = GetRuntimeClass(); p; p = p->m_pBaseClass)
        if (p == pClass)
            return TRUE;
    return FALSE;
}

// No handler, no message, no window: the process just ends.
void AfxAbort()
{
    std::_Exit(3);
}

void AfxThrowMemoryException()
{
    AfxAbort();
}
