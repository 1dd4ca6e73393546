#include <KvNodeDefine/CNodeGlobal.h>
#include <KvNodeDefine/TextConvert.h>

void CNodeGlobal::GetSplitStringArray(CString text, char separator, CStringArray& items)
{
    items.RemoveAll();
    const char* s = text.GetString();
    const int n = text.GetLength();
    int start = 0;
    for (int i = 0; i < n; ++i)
        if (s[i] == separator) {
            items.Add(CString(s + start, i - start));
            start = i + 1;
        }
    if (start < n)
        items.Add(CString(s + start, n - start));
}

bool CNodeGlobal::SplitStringToIntArray(CString text, AcArray<int>& values)
{
    CStringArray items;
    GetSplitStringArray(text, ',', items);
    for (INT_PTR i = 0; i < items.GetSize(); ++i)
        values.append(kvnodedefine::TextToInt(items[i]));
    return true;
}

bool CNodeGlobal::SplitStringToDoubleArray(CString text, AcArray<double>& values)
{
    CStringArray items;
    GetSplitStringArray(text, ',', items);
    for (INT_PTR i = 0; i < items.GetSize(); ++i)
        values.append(kvnodedefine::TextToReal(items[i]));
    return true;
}

bool CNodeGlobal::SplitStringToStringArray(CString text, CStringArray& items)
{
    GetSplitStringArray(text, ',', items);
    return true;
}
