// A host that names no descriptor class: it only loads a document. Its
// elements must still come back as descriptors, which they do only if the
// descriptor library was loaded with it.
#include <xmlobj/CXMLDocument.h>
#include <xmlobj/CXMLUnknown.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    CXMLDocument doc;
    if (!doc.LoadFile(argv[1])) {
        std::fprintf(stderr, "%s\n", doc.GetErrorText().c_str());
        return 1;
    }
    if (!doc.GetWarnings().empty()) { // an element of no registered class, for one
        std::fprintf(stderr, "reader: %s\n", doc.GetWarnings().front().Format().c_str());
        return 1;
    }
    const CXMLBase* root = doc.GetRoot();
    int descriptors = 0;
    ObjIterator* it = root->CreateIterator();
    for (it->First(); !it->IsDone(); it->Next()) {
        if (it->CurrentItem()->IsKindOf(RUNTIME_CLASS(CXMLUnknown))) {
            std::fprintf(stderr, "reader: <%s> read as an unknown element\n",
                it->CurrentItem()->GetElementName());
            return 1;
        }
        ++descriptors;
    }
    root->DeleteIterator(it);
    const char* rootClass = root->GetRuntimeClass()->m_lpszClassName;
    if (std::strcmp(rootClass, "CNodeAttDef") != 0 || descriptors == 0) {
        std::fprintf(stderr, "reader: root %s with %d descriptors\n", rootClass, descriptors);
        return 1;
    }
    std::printf("reader: %s: %d node types\n", argv[1], descriptors);
    return 0;
}
