#pragma once
// Every public header of KvNodeDefine.
#include <KvNodeDefine/CBaseDesc.h>
#include <KvNodeDefine/CNodeAttDef.h>
#include <KvNodeDefine/CNodeGlobal.h>
#include <KvNodeDefine/ChildList.h>
#include <KvNodeDefine/SteelSystem.h>
#include <KvNodeDefine/TextConvert.h>
#include <xmlobj/CXMLDocument.h>
#include <xmlobj/CXMLUnknown.h>
