#pragma once
// The inside of the platform DOM's stand-in: the tree that a load parsed
// (or the one element that a save hands its objects), and the read or
// write under way, which the objects' Serialize forwards to.
#include <xmlobj/XMLDOM.h>

#include <pugixml.hpp>

class DocumentSession;

struct KVHOST_LOCAL MSXML2::IXMLDOMDocument::Impl {
    pugi::xml_document doc;
    DocumentSession* session = nullptr;
};
