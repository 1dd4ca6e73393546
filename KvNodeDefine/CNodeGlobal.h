#pragma once
#include <KvNodeDefine/KvExport.h>
#include <appframe/CStringArray.h>
#include <arx/AcArray.h>

// Splits list-valued texts ("1,3", "0,90,180", "P1,P2,P3") into their items.
// Items are neither trimmed nor unquoted; every separator yields an item,
// empty ones too, except a final one.
class KVNODE_API CNodeGlobal {
public:
    // Empties items, then fills it with the parts of text between the
    // separator bytes.
    static void GetSplitStringArray(CString text, char separator, CStringArray& items);
    // Appends each comma-separated item's value by the atoi rule after what
    // values holds; true.
    static bool SplitStringToIntArray(CString text, AcArray<int>& values);
    // Appends each comma-separated item's value by the atof rule after what
    // values holds; true.
    static bool SplitStringToDoubleArray(CString text, AcArray<double>& values);
    // Empties items, then fills it with the comma-separated items; true.
    static bool SplitStringToStringArray(CString text, CStringArray& items);
};
