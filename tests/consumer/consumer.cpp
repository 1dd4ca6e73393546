// Loads every example through the installed library, walks its node types and
// saves it again; exits non-zero on the first failure.
#include <KvNodeDefine/KvNodeDefine.h>

#include <cstdio>
#include <dirent.h>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    std::printf("consumer: KvNodeDefine %s\n", KvNodeDefineVersion());
    DIR* dir = opendir(argv[1]);
    if (!dir)
        return 2;
    int files = 0;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".xml") != 0)
            continue;
        CXMLDocument doc;
        const std::string path = std::string(argv[1]) + "/" + name;
        if (!doc.LoadFile(path.c_str())) {
            std::fprintf(stderr, "%s\n", doc.GetErrorText().c_str());
            return 1;
        }
        int plates = 0;
        ObjIterator* it = doc.GetRoot()->CreateIterator();
        for (it->First(); !it->IsDone(); it->Next())
            if (it->CurrentItem()->IsKindOf(RUNTIME_CLASS(CNodeTypeDesc))) {
                AcArray<CPlateDesc*> items;
                static_cast<CNodeTypeDesc*>(it->CurrentItem())->GetPlateDescArray(items);
                plates += items.length();
            }
        doc.GetRoot()->DeleteIterator(it);
        std::string out;
        if (!doc.SaveXml(out)) {
            std::fprintf(stderr, "%s\n", doc.GetErrorText().c_str());
            return 1;
        }
        std::printf("consumer: %s: %d plates\n", name.c_str(), plates);
        ++files;
    }
    closedir(dir);
    return 0;
}
