#include "BoltCommon.h"

// CString's Find and Replace step over GBK double-byte characters, so a "_"
// that is the second byte of one never starts a suffix; Replace goes left to
// right, so an occurrence that only arises from joining stays.
CString VarItemNameFromExpressions(CString lenExp, CString diamExp, CString numExp, const char* diameterSuffix)
{
    CString name;
    if (lenExp.Find("_Len") >= 0) {
        lenExp.Replace("_Len", "");
        name = lenExp;
    } else if (diamExp.Find(diameterSuffix) >= 0) {
        diamExp.Replace(diameterSuffix, "");
        name = diamExp;
    } else if (numExp.Find("_Num") >= 0) {
        numExp.Replace("_Num", "");
        name = numExp;
    } else {
        return name;
    }
    return name.GetLength() >= 2 ? name.Mid(1) : name;
}
