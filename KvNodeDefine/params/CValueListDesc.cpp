#include <KvNodeDefine/CValueListDesc.h>

#include <cstring>

CValueListDesc::CValueListDesc() = default;
CValueListDesc::~CValueListDesc() = default;

bool CValueListDesc::GetValueList(CStringArray& values) const
{
    for (INT_PTR i = 0; i + 1 < m_AttList.GetSize(); i += 2) {
        const char* name = m_AttList[i];
        if (std::strcmp(name, "classtype") == 0 || std::strcmp(name, "nodename") == 0 ||
            std::strcmp(name, "nodeindex") == 0)
            continue;
        // the text, not the name, marks a placeholder
        if (m_AttList[i + 1] == "ValueString")
            continue;
        values.Add(m_AttList[i + 1]);
    }
    return true;
}
