#include <KvNodeDefine/KvNodeDefineVersion.h>

const char* KvNodeDefineVersion(void) { return KVNODEDEFINE_VERSION; }
