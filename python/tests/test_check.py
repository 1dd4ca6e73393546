"""check(): the findings of kvnode check's own rules, compared with what the
command prints for the same file, on files, loaded documents, changed and
built ones, with select and ignore."""
import json
import os
import subprocess

import pytest

import kvnodedefine as kv
from conftest import DATA, EXAMPLES, ROOT

KVNODE = os.environ.get("KVNODE")
# a file for each rule, the examples, and files that do not load
CHECKED = sorted([*(DATA / "tool").glob("*.xml"), *EXAMPLES.glob("*.xml"), DATA / "bad" / "truncated.xml",
                  DATA / "bad" / "not_in_gbk.xml", DATA / "xmlobj" / "encodings" / "gbk.xml",
                  DATA / "xmlobj" / "encodings" / "utf-16le.xml"])
LOOKUPS = DATA / "tool" / "lookups.xml"


def command(path, *options):
    """The findings of kvnode check --format json, as check() gives them."""
    out = subprocess.run([KVNODE, "check", "--format", "json", *options, str(path)],
                         capture_output=True, text=True, cwd=ROOT)
    assert out.returncode in (0, 1, 2), out.stderr  # 2: a file that does not load
    return [(f["rule"], f["severity"], f["message"], f["line"] or None, f["column"] or None,
             f["endLine"] or None, f["endColumn"] or None) for f in json.loads(out.stdout)["findings"]]


def fields(findings):
    return [(f.rule, f.severity, f.message, f.line, f.column, f.end_line, f.end_column) for f in findings]


needs_kvnode = pytest.mark.skipif(not KVNODE, reason="KVNODE names no kvnode to compare with")


@needs_kvnode
@pytest.mark.parametrize("path", CHECKED, ids=lambda p: str(p.relative_to(ROOT)))
def test_a_file_and_its_loaded_document_give_what_the_command_gives(path):
    relative = path.relative_to(ROOT)
    expected = command(relative)
    assert fields(kv.check(path)) == expected
    try:
        doc = kv.load(path)
    except kv.LoadError:
        return
    # checked as read: the same findings at the same places, on the element each names
    findings = kv.check(doc)
    assert fields(findings) == expected
    paths = {o.path for o in doc.walk()}
    # (a finding about the whole file, or a comment, names no element; the
    # reader's warning may name one it kept unread, below an object)
    assert all(f.path is None or f.path in paths or f.path.rpartition("/")[0] in paths for f in findings)
    assert all(f.file == str(path) for f in findings)
    # the declaration and the file's own comments are in no element
    assert all(f.path for f in findings if f.rule not in ("encoding-mismatch", "unused-suppression") and
               not (f.rule == "xml-warning" and f.line == 1))


@needs_kvnode
def test_select_and_ignore_choose_rules_as_the_options_do():
    for given, options in [("unresolved-name", ["--select", "unresolved-name"]),
                           (["unresolved-name", "duplicate-name"], ["--select", "unresolved-name,duplicate-name"]),
                           ("unresolved-name,duplicate-name", ["--select", "unresolved-name,duplicate-name"])]:
        assert fields(kv.check(LOOKUPS, select=given)) == command(LOOKUPS.relative_to(ROOT), *options)
    everything = {f.rule for f in kv.check(LOOKUPS)}
    assert {"unresolved-name", "duplicate-name"} < everything
    left = {f.rule for f in kv.check(LOOKUPS, ignore=("unresolved-name",))}
    assert left == everything - {"unresolved-name"}
    with pytest.raises(ValueError, match='no rule "unresolved-nam"'):
        kv.check(LOOKUPS, select="unresolved-nam")
    with pytest.raises(ValueError):
        kv.check(LOOKUPS, ignore=["no-such-rule"])


def test_a_file_that_cannot_be_read_raises_and_one_that_does_not_load_is_a_finding(tmp_path):
    with pytest.raises(kv.LoadError) as error:
        kv.check(tmp_path / "missing.xml")
    assert error.value.file == str(tmp_path / "missing.xml")
    [finding] = kv.check(DATA / "bad" / "truncated.xml")
    assert (finding.rule, finding.severity, finding.line, finding.column) == ("xml-error", "error", 4, 53)
    assert finding.path == "CNodeAttDef/CNodeTypeDesc[1]" and finding.end_line is None


def test_a_changed_document_is_checked_as_it_is_now_without_places(example):
    assert kv.check(example) == []
    plate = example.root.node_types[0].plates[1]
    plate.thick_exp = ""
    [finding] = kv.check(example)
    assert (finding.rule, finding.path, finding.attribute) == ("empty-size", plate.path, "thickexp")
    assert (finding.line, finding.column, finding.end_line, finding.end_column) == (None,) * 4
    assert str(finding) == (f'{example.file}: warning: plate "{plate.name}": "thickexp" is empty: '
                            f'the host has nothing to size the plate with [empty-size]')
    plate.thick_exp = "20"
    assert kv.check(example) == []


def test_a_document_built_in_code_is_checked_without_places():
    doc = kv.Document(encoding="GBK")
    doc.root = kv.CNodeAttDef(version=1)
    node = kv.CNodeTypeDesc(name="N", show_name="节点", node_type=10101)
    doc.root.node_types.append(node)
    node.plates.append(kv.CPlateDesc(name="板", len_exp="@P_L", width_exp="100", thick_exp="10", plane_names="A,B"))
    findings = kv.check(doc)
    assert {(f.rule, f.path) for f in findings} == {
        ("plate-planes", "CNodeAttDef/CNodeTypeDesc[1]/CPlateDesc[1]"),
        ("unresolved-name", "CNodeAttDef/CNodeTypeDesc[1]/CPlateDesc[1]")}
    assert all(f.line is None and f.column is None and f.file == "<document>" for f in findings)
    assert any('"板"' in f.message for f in findings)          # the document's texts come back as str
    assert repr(findings[0]).startswith("<Finding ")
    # nothing to save is no node library
    assert [(f.rule, f.message, f.line) for f in kv.check(kv.Document())] == [("xml-error", "no root element", None)]


def test_findings_of_a_gbk_document_count_columns_in_characters():
    text = ('<?xml version="1.0" encoding="GBK"?>\n<CNodeAttDef classtype="8_0" Version="1">\n'
            '<CNodeTypeDesc classtype="8_6" name="节点" showname="节点"><CPlateDesc classtype="8_3" name="板" '
            'showname="端板" lenexp="1" widthexp="1" thickexp="" planes="A,B,C"/></CNodeTypeDesc></CNodeAttDef>\n')
    for data in (text.encode("gbk"), text):
        findings = kv.check(kv.loads(data), select="empty-size")
        assert [(f.line, f.column) for f in findings] == [(3, text.splitlines()[2].index('thickexp="') + 11)]
