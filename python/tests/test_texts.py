"""Texts are str in Python and code page 936 in the library, converted by the
library's own conversion both ways: checked against Python's gbk codec over
the whole of GBK, on code page 936's own characters that codec refuses, and
on what code page 936 cannot hold."""
import pytest

import kvnodedefine as kv


def gbk_pairs():
    """Every character Python's gbk codec reads from two bytes, with its bytes."""
    for lead in range(0x81, 0xFF):
        for trail in range(0x40, 0xFF):
            raw = bytes([lead, trail])
            try:
                yield raw.decode("gbk"), raw
            except UnicodeDecodeError:
                pass


def saved_as(text, encoding):
    doc = kv.Document(encoding=encoding)
    doc.root = kv.CNodeAttDef()
    doc.root.add(kv.CBaseDesc(name=text))
    return doc.dumps()


def test_every_character_of_gbk_converts_as_pythons_codec_converts_it():
    pairs = list(gbk_pairs())
    assert len(pairs) > 21000
    text = "".join(c for c, _ in pairs)
    desc = kv.CBaseDesc(name=text)
    assert desc.name == text
    assert b'name="' + b"".join(raw for _, raw in pairs) + b'"' in saved_as(text, "GBK")
    assert kv.loads(saved_as(text, "GB18030")).root.children[0].name == text


@pytest.mark.parametrize("text, index, named", [
    ("ab😀", 2, "'😀' (U+1F600)"),             # beyond the Basic Multilingual Plane
    ("\U000E0041", 0, "'\U000E0041' (U+E0041)"),  # a tag character, which iconv drops without a word
    ("x\x01", 1, "U+0001"),                      # a control character XML cannot hold
    ("ɐ", 0, "'ɐ' (U+0250)"),
])
def test_a_character_code_page_936_cannot_hold_is_refused_by_name(text, index, named):
    plate = kv.CPlateDesc(name="before")
    with pytest.raises(ValueError) as error:
        plate.name = text
    assert named in str(error.value) and f"at index {index}" in str(error.value)
    assert plate.name == "before"
    with pytest.raises(ValueError):
        kv.CPlateDesc(thick_exp=text)
    with pytest.raises(ValueError):
        kv.CNodeTypeDesc().find_member(text)


def test_a_lone_surrogate_is_refused():
    with pytest.raises(ValueError):
        kv.CPlateDesc(name="\ud800")


def test_texts_in_every_encoding_read_back_the_same():
    text = "端板 Q345 ⅰ — ‰ ℃ 〔〕 ㈠ ︿ Ё ā"
    for encoding in ("UTF-8", "UTF-16", "GBK", "GB18030"):
        assert kv.loads(saved_as(text, encoding)).root.children[0].name == text, encoding
