"""The descriptor classes as Python has them: every document rebuilt from its
properties alone, the getters' names and values, the setters (the class's
own, or the attribute for a field without one), building, and refusals."""
import pytest

import kvnodedefine as kv


def settable(cls):
    """The properties of cls that can be set, by name."""
    names = {}
    for klass in reversed(cls.__mro__):
        for name, attr in vars(klass).items():
            if isinstance(attr, property) and attr.fset is not None:
                names[name] = attr
    return names


def rebuild(obj):
    """obj made again through the constructors and properties only."""
    cls = type(obj)
    if cls is kv.CXMLUnknown:
        return obj.copy()
    if cls is kv.CValueListDesc:
        made = cls(**obj.attributes)
    else:
        fresh = cls()
        made = cls(**{name: getattr(obj, name) for name in settable(cls) if getattr(obj, name) != getattr(fresh, name)})
    for child in obj.children:
        made.add(rebuild(child))
    return made


def values(obj):
    """What every property of obj but its child lists gives."""
    return {name: getattr(obj, name) for klass in type(obj).__mro__ for name, attr in vars(klass).items()
            if isinstance(attr, property) and not isinstance(getattr(obj, name), kv.ChildList)
            and name not in ("document", "parent", "position", "attributes")}


def test_a_document_rebuilt_from_its_properties_reads_and_saves_the_same(document_path):
    """Every property read, then set through a constructor: what the rebuilt
    tree holds and writes is what the document held and wrote (less any
    attribute that no field is read from, which a rebuild cannot know)."""
    doc = kv.load(document_path)
    again = kv.Document(encoding=doc.encoding)
    again.root = rebuild(doc.root)
    for original, made in zip(doc.walk(), again.walk(), strict=True):
        assert values(made) == values(original)
        assert made.attributes.items() <= original.attributes.items(), original.path


def test_setting_every_property_to_its_value_changes_nothing(document_path):
    doc = kv.load(document_path)
    before = doc.dumps()
    for obj in doc.walk():
        for name in settable(type(obj)):
            setattr(obj, name, getattr(obj, name))
    assert doc.dumps() == before


def test_the_getters_of_an_example(example):
    node = example.root.node_types[0]
    assert (node.name, node.show_name, node.node_type, node.link_whole_type, node.link_big_type) == \
        ("BeamColumnEndPlate", "梁柱端板连接", 10101, 1, 101)
    beam = node.find_member("Beam")
    assert (beam.str_link_planes, beam.rotate_angles, beam.is_end_connect, beam.is_sect_side_connect) == \
        ("0", "0,180", True, False)
    assert (beam.allow_rotate_angles, beam.allow_connect_sides, beam.kind_array, beam.sec_type_array) == \
        ([0.0, 180.0], None, [2], [1])
    column = node.find_member("Column")
    assert (column.allow_connect_sides, column.allow_rotate_angles, column.is_direct_used) == ([1, 3], None, True)
    assert node.find_member("beam") is None and node.find_member("EndPlate") is None
    plate = node.find_plate("EndPlate")
    assert (plate.material, plate.thick_exp, plate.plane_name_list, plate.var_item_name, plate.num) == \
        (3, "@EndPlate_Thick", ["EPOuter", "BeamWebPlane", "BeamTopPlane"], "EndPlate", 0)
    group = node.bolt_groups[0]
    assert (group.bolt_grade, group.bolt_type, group.var_item_name, [p.name for p in group.bolt_planes]) == \
        (7, 3, "Bolt", ["PlateSide", "FlangeSide"])
    assert (kv.BOLT_GRADES[group.bolt_grade], kv.MATERIALS[plate.material]) == ("10.9级", "Q345")
    thick = node.var_items[0].vars[0]
    assert (thick.value_list, thick.format_type, thick.type, thick.real_value) == \
        (["16", "18", "20", "22", "25", "28"], "g", 1, "20")
    plane = [p for p in node.planes if p.name == "EPInner"][0]
    assert (plane.plane_type, kv.CPlaneDesc.TYPES[plane.plane_type], plane.str_relative_len, plane.rel_plane_name) == \
        (4, "PlaneByRelPlaneLen", "@EndPlate_Thick", "ColFlangeFace")
    assert [type(c).__name__ for c in node.children][:3] == ["CNodeMemberDesc", "CNodeMemberDesc", "CLineDesc"]


def test_every_child_list_lists_its_class_in_document_order(example):
    node = example.root.node_types[0]
    lists = {name: getattr(node, name) for name in ("members", "plates", "bolt_groups", "bolts", "link_bars",
                                                  "var_items", "points", "lines", "planes", "vecs", "dists")}
    listed = [c for lst in lists.values() for c in lst]
    assert sorted(listed, key=node.children.index) == list(node.children)
    for name, children in lists.items():
        assert all(type(c).__name__.lower().startswith("c" + name.rstrip("s").replace("_", "")[:3]) or
                   name == "members" for c in children), name
    assert len(node.plates) == 3 and node.plates[-1].name == "StiffenerBottom"
    assert [p.name for p in node.plates[1:]] == ["StiffenerTop", "StiffenerBottom"]
    with pytest.raises(IndexError):
        node.plates[3]
    assert node.plates[0] in node.plates and node.bolt_groups[0] not in node.plates


def test_a_field_without_a_setter_is_set_through_its_attribute_and_keeps_what_was_set_before():
    plate = kv.CPlateDesc()
    plate.name = "P1"             # CBaseDesc's own setter
    plate.thick_exp = "12"        # no setter: "thickexp", then the fields read again
    plate.plane_names = "A,B,C"
    plate.material = 7            # outside the enumeration: kept as it is
    assert (plate.name, plate.thick_exp, plate.plane_name_list, plate.material) == ("P1", "12", ["A", "B", "C"], 7)
    member = kv.CNodeMemberDesc(str_link_planes="0", rotate_angles="0,90")
    member.is_direct_used = False
    member.kind_array = [3, -1]
    assert (member.is_direct_used, member.kind_array, member.allow_rotate_angles) == (False, [3, -1], [0.0, 90.0])
    assert member.attributes["directused"] == "0" and member.attributes["kind"] == "3,-1"
    vec = kv.CVecDesc(vec_type=4, parallel_plane_name="P", member_name="M")
    assert vec.attributes == {"name": "", "showname": "", "type": "4", "parellelplane": "P", "memname": "M"}


def test_a_descriptor_built_in_python_saves_as_one_read_from_its_text():
    built = kv.Document()
    built.root = kv.CNodeAttDef(version=1)
    node = kv.CNodeTypeDesc(name="N", show_name="节点", node_type=20101)
    built.root.node_types.append(node)
    node.plates.append(kv.CPlateDesc(name="P", material=1, thick_exp="t", plane_names="a,b,c"))
    node.var_items.append(kv.CVarItemDesc(name="I", str_type="plate", is_predefined=False))
    node.var_items[0].vars.append(kv.CVarDesc(name="t", show_value="12", real_value="12", format_type="d", type=1))
    node.var_items[0].vars[0].value_lists.append(kv.CValueListDesc(v1="10", v2="12"))
    text = built.dumps()
    assert kv.loads(text).dumps() == text
    assert node.var_items[0].vars[0].value_list == ["10", "12"]
    assert b'<CPlateDesc classtype="8_3" name="P" showname="" material="1" lenexp="" widthexp="" thickexp="t" ' \
           b'planes="a,b,c" varitem="" />' in text


@pytest.mark.parametrize("make, error", [
    (lambda: kv.CPlateDesc(thickness="1"), TypeError),     # no such field
    (lambda: kv.CPlateDesc(thick_exp=12), TypeError),      # a text is a str
    (lambda: kv.CPlateDesc(material="3"), TypeError),      # a number is an int
    (lambda: kv.CPlateDesc(material=True), TypeError),     # and not a flag
    (lambda: kv.CPlateDesc(material=2**31), OverflowError),
    (lambda: kv.CVarItemDesc(is_predefined=1), TypeError),
    (lambda: kv.CVarDesc(format_type="gg"), ValueError),
    (lambda: kv.CNodeMemberDesc(kind_array="1,2"), TypeError),
    (lambda: kv.CNodeMemberDesc(kind_array=[1, "2"]), TypeError),
    (lambda: kv.CPlateDesc(num=1), TypeError),             # worked out, not set
])
def test_a_wrong_value_is_refused_before_anything_changes(make, error):
    with pytest.raises(error):
        make()


def test_derived_values_cannot_be_set(example):
    node = example.root.node_types[0]
    with pytest.raises(AttributeError):
        node.link_whole_type = 2
    with pytest.raises(AttributeError):
        node.find_member("Beam").allow_rotate_angles = [1.0]
    assert node.link_whole_type == 1
    node.node_type = 30001
    assert node.link_whole_type == 3


def test_the_tables_come_from_the_library():
    assert len(kv.MATERIALS) == 7 and kv.MATERIALS[6] == "OtherMat"
    assert len(kv.BOLT_GRADES) == 10 and kv.BOLT_GRADES[5] == "8.8级"
    assert kv.BOLT_TYPES[5] == "锚栓"
    assert (len(kv.CPointDesc.TYPES), len(kv.CLineDesc.TYPES), len(kv.CPlaneDesc.TYPES), len(kv.CVecDesc.TYPES),
            len(kv.CDistDesc.TYPES)) == (5, 4, 6, 8, 4)


def test_every_class_of_the_library_is_a_class_of_the_module():
    names = ["CBaseDesc", "CBoltDesc", "CBoltGroupDesc", "CBoltPlaneDesc", "CCutDesc", "CDistDesc", "CLineDesc",
             "CLinkBarDesc", "CNodeAttDef", "CNodeMemberDesc", "CNodeTypeDesc", "CPlaneDesc", "CPlateDesc",
             "CPointDesc", "CValueListDesc", "CVarDesc", "CVarItemDesc", "CVecDesc"]
    for name in names:
        cls = getattr(kv, name)
        assert cls().element_name == name and cls.__doc__
        if name not in ("CBaseDesc", "CNodeAttDef", "CValueListDesc"):
            assert issubclass(cls, kv.CBaseDesc)
    indices = {getattr(kv, name)().class_index for name in names}
    assert len(indices) == 18 and "8_3" in indices
