"""What a Python object of a tree may outlive, and what raises instead of
crashing: a descriptor keeps its document alive, a removed descriptor and
a closed document's objects raise ReferenceError, changes during a walk,
ownership across trees, and memory over many loads."""
import gc
import os

import pytest

import kvnodedefine as kv
from conftest import EXAMPLES


def first_plate():
    # the document is gone from Python once this returns; its plate is not
    return kv.load(EXAMPLES / "beam-column-endplate.xml").root.node_types[0].plates[0]


def test_a_descriptor_keeps_its_document_alive():
    plate = first_plate()
    gc.collect()
    assert plate.name == "EndPlate" and plate.cuts is not None
    assert plate.document.root.version == 1
    plate.thick_exp = "25"
    assert b'thickexp="25"' in plate.document.dumps()


def test_a_removed_descriptor_and_everything_under_it_raise(example):
    node = example.root.node_types[0]
    plate = node.find_plate("StiffenerTop")
    cut = plate.cuts[0]
    plates = node.plates
    node.plates.remove(plate)
    for gone in (plate, cut):
        with pytest.raises(ReferenceError, match="removed"):
            gone.name
        with pytest.raises(ReferenceError):
            gone.thick_exp = "1" if gone is plate else gone.plane_names
        assert "gone" in repr(gone)
    assert [p.name for p in plates] == ["EndPlate", "StiffenerBottom"]
    assert plate not in plates and b"StiffenerTop" not in example.dumps()
    with pytest.raises(ValueError, match="not a child"):
        node.remove(node.plates[0].cuts[0] if node.plates[0].cuts else node.find_member("Beam").cuts[0])
    del node.members[-1]
    assert [m.name for m in node.members] == ["Column"]


def test_a_closed_document_raises_and_its_objects_too(example):
    node = example.root.node_types[0]
    with example:
        pass
    assert example.closed
    with pytest.raises(ReferenceError, match="closed"):
        node.name
    for use in (lambda: example.root, lambda: example.dumps(), lambda: example.warnings,
                lambda: example.save("x.xml"), lambda: list(example.walk())):
        with pytest.raises(ValueError, match="closed"):
            use()
    example.close()  # closing again does nothing
    assert repr(example) == "<Document (closed)>"


def test_replacing_the_root_ends_the_old_tree(example):
    old = example.root
    example.root = kv.CNodeAttDef(version=5)
    with pytest.raises(ReferenceError):
        old.version
    assert example.root.version == 5 and example.root.node_types[:] == []
    example.root = None
    assert example.root is None and list(example.walk()) == []


def test_a_descriptor_belongs_to_one_tree(example):
    node = example.root.node_types[0]
    with pytest.raises(ValueError, match="belongs to a tree"):
        node.plates.append(node.plates[0])
    other = kv.load(EXAMPLES / "brace-gusset.xml")
    with pytest.raises(ValueError, match="belongs to a tree"):
        other.root.add(node)
    with pytest.raises(ValueError, match="belongs to a tree"):
        other.root = example.root
    copy = node.copy()
    assert (copy.document, copy.parent, copy.name) == (None, None, node.name)
    copy.name = "Copy"
    other.root.node_types.append(copy)
    assert copy.document == other and copy.parent == other.root and node.name == "BeamColumnEndPlate"
    # the copy keeps its children, comments included, and is the same tree
    assert [type(o) for o in copy.walk()] == [type(o) for o in node.walk()]
    with pytest.raises(TypeError, match="wanted"):
        other.root.node_types[1].plates.append(kv.CBoltDesc())
    with pytest.raises(TypeError):
        other.root.add("a plate")


def test_a_tree_cannot_be_added_under_itself():
    node = kv.CNodeTypeDesc(name="N")
    plate = kv.CPlateDesc(name="P")
    node.plates.append(plate)
    with pytest.raises(ValueError):
        plate.add(node)
    with pytest.raises(ValueError):
        node.add(node)
    with pytest.raises(TypeError, match="no children"):
        kv.CValueListDesc().add(kv.CCutDesc())
    # what was built before a tree took it moves with it, objects and all
    doc = kv.Document()
    doc.root = kv.CNodeAttDef()
    doc.root.node_types.append(node)
    assert plate.document == doc and plate.path == "CNodeAttDef/CNodeTypeDesc[1]/CPlateDesc[1]"


def test_changing_a_list_while_walking_it_does_not_crash(example):
    node = example.root.node_types[0]
    count = len(node.planes)
    seen = []
    for plane in node.planes:  # as a list would, it skips the one after each removed
        seen.append(plane.name)
        node.planes.remove(plane)
    assert len(seen) == count // 2 and len(node.planes) == count - len(seen)
    walked = 0
    for obj in example.walk():
        walked += 1
        if isinstance(obj, kv.CNodeTypeDesc):
            example.root.remove(obj)
    assert walked == 2
    for obj in kv.load(EXAMPLES / "column-base.xml").walk():
        obj.document.close()
        break


def test_objects_are_equal_when_they_stand_for_the_same_object(example):
    node = example.root.node_types[0]
    assert node.plates[0] == node.find_plate("EndPlate") and node.plates[0] != node.plates[1]
    assert len({node.plates[0], node.plates[0], node.plates[1]}) == 2
    assert example.root.document == example and example != kv.Document()


def resident_kib():
    with open("/proc/self/statm") as f:
        return int(f.read().split()[1]) * 4


@pytest.mark.skipif(bool(os.environ.get("KV_SANITIZED")), reason="the sanitizer holds freed memory back on purpose")
def test_many_loads_and_walks_do_not_grow_memory():
    path = EXAMPLES / "beam-column-endplate.xml"

    def work(rounds):
        for _ in range(rounds):
            doc = kv.load(path)
            for obj in doc.walk():
                if isinstance(obj, kv.CPlateDesc):
                    obj.cuts
            plate = doc.root.node_types[0].plates[0]
            doc.close() if _ % 2 else None
            del doc, plate

    work(1000)
    before = resident_kib()
    work(10_000)
    gc.collect()
    assert resident_kib() - before < 2048
