"""The stubs installed beside the module: every name they use is defined or
imported, and they declare what the module has, with its documentation."""
import inspect
import pathlib
import typing

import pytest

import kvnodedefine as kv

STUBS = pathlib.Path(kv.__file__).with_name("__init__.pyi")


@pytest.fixture(scope="module")
def stubs():
    """The stubs run as Python, their annotations kept as text to be resolved by each test."""
    namespace = {}
    exec(compile("from __future__ import annotations\n" + STUBS.read_text(encoding="utf-8"), str(STUBS), "exec"),
         namespace)
    return namespace


def annotated(stubs):
    """Every function, method and property getter the stubs declare."""
    for name, obj in stubs.items():
        if inspect.isfunction(obj):
            yield name, obj
        elif inspect.isclass(obj) and obj.__module__ == "builtins":
            for attr, member in vars(obj).items():
                function = member.fget if isinstance(member, property) else member
                if inspect.isfunction(function):
                    yield f"{name}.{attr}", function


def test_every_annotation_names_what_the_stubs_define_or_import(stubs):
    resolved = 0
    for name, function in annotated(stubs):
        try:
            typing.get_type_hints(function, globalns=stubs)
        except NameError as error:
            pytest.fail(f"{name}: {error}")
        resolved += 1
    assert resolved > 200


def test_the_stubs_declare_every_class_property_and_function_of_the_module(stubs):
    public = {name for name in dir(kv) if not name.startswith("_")}
    declared = set(stubs) | set(stubs["__annotations__"])      # the tables are declared, not defined
    assert public <= declared, sorted(public - declared)
    for name in public:
        obj = getattr(kv, name)
        if name not in stubs:
            continue
        if inspect.isclass(obj) and not issubclass(obj, BaseException):
            assert obj.__doc__ and stubs[name].__doc__, name
            for attr, member in vars(obj).items():
                if isinstance(member, property):
                    assert isinstance(getattr(stubs[name], attr, None), property), f"{name}.{attr}"
                    assert member.__doc__, f"{name}.{attr} has no docstring"
        elif callable(obj) and not inspect.isclass(obj):
            assert stubs[name].__doc__ and list(inspect.signature(stubs[name]).parameters), name
    # check's signature, as an editor completes it
    assert list(inspect.signature(stubs["check"]).parameters) == ["target", "select", "ignore"]
    assert typing.get_type_hints(stubs["check"], globalns=stubs)["return"] == list[stubs["Finding"]]
