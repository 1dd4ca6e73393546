#pragma once
#include <KvNodeDefine/KvExport.h>
#include <appframe/CStringArray.h>
#include <arx/AcArray.h>

// Splits list-valued texts ("1,3", "0,90,180", "P1,P2,P3") into their items.
// Items are neither trimmed nor unquoted; every separator yields an item,
// empty ones too, except a final one.
class KVNODE_API CNodeGlobal {
public:
    // empties items, then fills it; splits on single bytes
    static void GetSplitStringArray(CString text, char separator, CStringArray& items);
    // append each comma-separated item's value (atoi/atof rule) after what the array holds
    static bool SplitStringToIntArray(CString text, AcArray<int>& values);
    static bool SplitStringToDoubleArray(CString text, AcArray<double>& values);
    // empties items, then fills it with the comma-separated items
    static bool SplitStringToStringArray(CString text, CStringArray& items);
};
