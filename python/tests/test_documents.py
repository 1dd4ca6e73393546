"""Reading and writing documents: every document of the project against an
independent reading, the library's table of load outcomes through LoadError
and the warnings, the encodings both ways, and saves that fail cleanly."""
import codecs
import os
import re
import xml.etree.ElementTree as ET

import pytest

import kvnodedefine as kv
from conftest import DATA, EXAMPLES

DECLARATION = re.compile(rb"""^(\xef\xbb\xbf)?<\?xml[^>]*?encoding=["']([^"']+)["'][^>]*\?>""")


def read_independently(path):
    """The element tree by Python's own reader and codecs (expat reads no GBK)."""
    raw = path.read_bytes()
    if raw.startswith((codecs.BOM_UTF16_LE, codecs.BOM_UTF16_BE)):
        text = raw.decode("utf-16")
    else:
        declared = DECLARATION.match(raw)
        name = declared.group(2).decode().lower() if declared else "utf-8"
        text = raw.decode("gb18030" if name in ("gbk", "gb2312", "gb18030") else "utf-8-sig")
    return ET.fromstring(re.sub(r"^\ufeff?<\?xml[^>]*\?>", "", text))


def test_a_document_reads_as_an_independent_reader_reads_it(document_path):
    doc = kv.load(document_path)
    elements = list(read_independently(document_path).iter())
    objects = list(doc.walk())
    assert [o.element_name for o in objects] == [e.tag for e in elements]
    for obj, element in zip(objects, elements):
        if isinstance(obj, kv.CBaseDesc):
            assert (obj.name, obj.show_name) == (element.get("name", ""), element.get("showname", "")), obj.path
        if isinstance(obj, kv.CXMLUnknown):
            assert obj.attributes == element.attrib
        if isinstance(obj, kv.CValueListDesc):
            # "classtype" is the XML object library's own, kept for unknown elements only
            assert obj.attributes == {k: v for k, v in element.attrib.items() if k != "classtype"}
    assert doc.file == str(document_path)


def test_what_is_read_saves_as_the_library_saves_it(document_path):
    doc = kv.load(document_path)
    again = kv.loads(doc.dumps())
    assert again.dumps() == doc.dumps()
    assert again.encoding == doc.encoding


def unescape(text):
    return codecs.escape_decode(text.encode("utf-8"))[0]


def message_text(message):
    """A message of the table as the module gives it: code page 936 where the
    bytes are that, UTF-8 otherwise. (Python's codecs refuse the euro sign at
    0x80, which GB18030 holds at A2E3; no message here has 0x80 as a trail
    byte.)"""
    try:
        return message.replace(b"\x80", b"\xa2\xe3").decode("gb18030")
    except UnicodeDecodeError:
        return message.decode("utf-8")


def escaped(text):
    """Control characters as a diagnostic's format writes them."""
    return re.sub(r"[\x00-\x1f\x7f]", lambda m: "\\x%02X" % ord(m.group()), text)


def load_outcomes():
    for line in (DATA / "xmlobj" / "loads.txt").read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            document, _, outcome = line.rpartition(" => ")
            yield pytest.param(unescape(document), message_text(unescape(outcome)), id=document[:60])


@pytest.mark.parametrize("document, outcome", load_outcomes())
def test_a_load_gives_the_outcome_of_the_librarys_table(document, outcome):
    """Each case of the library's own table, through loads: a LoadError with
    the place as attributes, or the warnings."""
    try:
        doc = kv.loads(document)
    except kv.LoadError as error:
        assert str(error).startswith("<memory>:" + outcome)
        place = re.match(r"(\d+):(\d+): ", outcome)
        if place:
            assert (error.line, error.column) == (int(place.group(1)), int(place.group(2)))
        else:
            assert error.line is None and error.column is None
        assert error.file == "<memory>"
        message = escaped(error.message)
        assert outcome[place.end() if place else 0:].startswith(message[: len(outcome)]) or \
            message.startswith(outcome[place.end() if place else 0:].split(" (in ")[0])
        in_path = re.search(r" \(in (.*)\)$", outcome)
        if in_path:
            assert error.path == in_path.group(1)
        return
    warnings = doc.warnings
    if outcome == "loads":
        assert warnings == []
    else:
        assert outcome.startswith("loads, warning: ")
        first = warnings[0]
        assert str(first).startswith("<memory>:" + outcome[len("loads, warning: "):])
        assert (first.file, type(first.line), type(first.column)) == ("<memory>", int, int)


def test_a_load_error_names_the_file_and_is_an_error_of_the_module(tmp_path):
    with pytest.raises(kv.LoadError) as missing:
        kv.load(tmp_path / "none.xml")
    assert isinstance(missing.value, kv.Error)
    assert missing.value.file == str(tmp_path / "none.xml")
    assert (missing.value.line, missing.value.column, missing.value.path) == (None, None, None)
    bad = tmp_path / "bad.xml"
    bad.write_bytes(b"<CNodeAttDef classtype='8_0'>\n  <CNodeTypeDesc classtype='8_6' name='a' name='b'/>\n</CNodeAttDef>")
    with pytest.raises(kv.LoadError) as duplicate:
        kv.load(bad)
    e = duplicate.value
    assert (e.file, e.line, e.path) == (str(bad), 2, "CNodeAttDef/CNodeTypeDesc[1]")
    assert "duplicate attribute" in e.message and str(e).startswith(f"{bad}:2:")
    with pytest.raises(kv.LoadError, match="^named.xml:1:"):
        kv.loads(b"<a>", name="named.xml")


ENCODINGS = {"utf-8.xml": "UTF-8", "utf-8-bom.xml": "UTF-8", "utf-16le.xml": "UTF-16", "utf-16be.xml": "UTF-16",
             "gbk.xml": "GBK", "gb2312.xml": "GBK", "gb18030.xml": "GB18030"}


@pytest.mark.parametrize("name", sorted(ENCODINGS))
def test_a_document_saves_in_the_encoding_it_was_read_in_and_in_any_other(name, tmp_path):
    doc = kv.load(DATA / "xmlobj" / "encodings" / name)
    assert doc.encoding == ENCODINGS[name]
    utf8 = doc.dumps("UTF-8")
    for encoding, codec in (("UTF-8", "utf-8-sig"), ("UTF-16", "utf-16"), ("GBK", "gbk"), ("GB18030", "gb18030")):
        target = tmp_path / f"{encoding}.xml"
        doc.save(target, encoding=encoding)
        written = target.read_bytes()
        assert written == doc.dumps(encoding)
        assert written.decode(codec).replace(encoding, "UTF-8", 1) == utf8.decode("utf-8-sig"), encoding
        assert kv.load(target).dumps("UTF-8").removeprefix(codecs.BOM_UTF8) == utf8.removeprefix(codecs.BOM_UTF8)
    # a save in another encoding leaves the document's own as it was
    assert doc.encoding == ENCODINGS[name]
    own = tmp_path / "own.xml"
    doc.save(own)
    assert kv.load(own).encoding == ENCODINGS[name]


def test_a_str_is_text_whatever_its_declaration_says():
    gbk = (DATA / "xmlobj" / "encodings" / "gbk.xml").read_bytes()
    as_bytes = kv.loads(gbk)
    as_text = kv.loads(gbk.decode("gbk"))
    assert as_text.dumps() == as_bytes.dumps()
    assert as_text.encoding == "GBK"
    # a declaration's encoding is blanked, not moved: places in the text stay where they were
    faulty = '<?xml version="1.0" encoding="GBK"?><a 名="1" 名="2"/>'
    with pytest.raises(kv.LoadError) as as_text:
        kv.loads(faulty)
    with pytest.raises(kv.LoadError) as as_gbk:
        kv.loads(faulty.encode("gbk"))
    assert (as_text.value.line, as_text.value.column) == (as_gbk.value.line, as_gbk.value.column) == (1, 46)
    # an encoding the library does not know is refused where it stands
    with pytest.raises(kv.LoadError, match="not supported"):
        kv.loads('<?xml version="1.0" encoding="latin-1"?><a/>')


def test_dumps_gives_text_on_request(example):
    text = example.dumps(encoding="unicode")
    assert isinstance(text, str) and text.startswith('<?xml version="1.0" encoding="UTF-8"?>')
    assert kv.loads(text).dumps() == example.dumps()
    with pytest.raises(ValueError, match="latin"):
        example.dumps(encoding="latin-1")


def test_a_new_document_saves_as_utf8_and_may_be_given_an_encoding():
    doc = kv.Document()
    assert (doc.encoding, doc.root, doc.file, list(doc.walk())) == ("UTF-8", None, None, [])
    doc.root = kv.CNodeAttDef(version=2)
    assert kv.loads(doc.dumps()).root.version == 2
    assert kv.Document(encoding="gb2312").encoding == "GBK"
    doc.encoding = "UTF-16BE"
    assert doc.dumps().startswith(codecs.BOM_UTF16_BE)


def test_a_failed_save_says_why_and_leaves_the_target_as_it_was(example, tmp_path):
    target = tmp_path / "kept.xml"
    target.write_bytes(b"as it was")
    doc = example
    folder = tmp_path / "a-folder"
    folder.mkdir()
    with pytest.raises(kv.SaveError) as error:
        doc.save(folder)
    assert error.value.file == str(folder) and error.value.message
    os.chmod(tmp_path, 0o500)
    try:
        if os.access(tmp_path, os.W_OK):
            pytest.skip("running as a user whom permissions do not stop")
        with pytest.raises(kv.SaveError):
            doc.save(target)
    finally:
        os.chmod(tmp_path, 0o700)
    assert target.read_bytes() == b"as it was"


def test_positions_are_kept_on_request():
    text = "<CNodeAttDef classtype='8_0'>\n  <CNodeTypeDesc classtype='8_6' name='n'>\n    <CPlateDesc classtype='8_3'/>"\
           "</CNodeTypeDesc></CNodeAttDef>"
    plate = kv.loads(text, positions=True).root.node_types[0].plates[0]
    assert plate.position == (3, 5)
    assert plate.path == "CNodeAttDef/CNodeTypeDesc[1]/CPlateDesc[1]"
    assert kv.loads(text).root.node_types[0].plates[0].position is None


def test_every_example_loads_without_warnings():
    for path in EXAMPLES.glob("*.xml"):
        assert kv.load(path).warnings == [], path
