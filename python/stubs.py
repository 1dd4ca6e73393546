"""Writes the stubs (.pyi) of kvnodedefine from the built module itself.

Usage: stubs.py FOLDER OUT, FOLDER holding the package kvnodedefine.

Every property's docstring begins with its type ("str: the length"), every
method's and function's with its signature ("find_member(name: str) ->
CNodeMemberDesc | None"); the classes and their bases come from the module.
"""
import inspect
import sys

sys.path.insert(0, sys.argv[1])
import kvnodedefine  # noqa: E402

native = kvnodedefine._kvnodedefine

HEADER = '''"""{doc}"""
# Written by stubs.py from the module itself.
import os
from typing import Any, Generic, Iterable, Iterator, TypeVar, overload

_T = TypeVar("_T")

__version__: str
'''

# what the native module leaves to Python's own typing
SPECIAL = {
    "ChildList": '''class ChildList(Generic[_T]):
    """{doc}"""
    def __len__(self) -> int: ...
    @overload
    def __getitem__(self, index: int) -> _T: ...
    @overload
    def __getitem__(self, index: slice) -> list[_T]: ...
    def __iter__(self) -> Iterator[_T]: ...
    def __contains__(self, item: object) -> bool: ...
    def __delitem__(self, index: int) -> None: ...
    def index(self, child: _T) -> int: ...
    def append(self, child: _T) -> None:
        """Adds a descriptor that belongs to no tree yet after the parent's last child."""
    def remove(self, child: _T) -> None:
        """Removes the child from the tree and deletes it; its Python objects are then gone."""
''',
}


def split(doc):
    """The first line and the rest of a docstring."""
    doc = inspect.cleandoc(doc or "")
    first, _, rest = doc.partition("\n")
    return first, rest.strip()


def docstring(text, indent):
    if not text:
        return ""
    # read back as written: a backslash escapes nothing, a quote at the end closes nothing
    text = text.replace("\\", "\\\\").replace('"""', "'''")
    lines = text.splitlines()
    pad = " " * indent
    if len(lines) == 1:
        if text.endswith('"'):
            text = text[:-1] + '\\"'
        return f'{pad}"""{text}"""\n'
    return f'{pad}"""' + lines[0] + "\n" + "".join(pad + line + "\n" if line else "\n" for line in lines[1:]) + f'{pad}"""\n'


def method(name, obj, indent, is_method):
    signature, rest = split(obj.__doc__)
    if not signature.startswith(name + "(") or "->" not in signature:
        raise SystemExit(f"stubs.py: {name} has no signature in its docstring: {signature!r}")
    params = signature[len(name) + 1 : signature.rindex(")")]
    result = signature[signature.rindex("->") + 2 :].strip()
    if is_method:
        params = "self" + (", " + params if params else "")
    pad = " " * indent
    body = docstring(rest, indent + 4)
    return f"{pad}def {name}({params}) -> {result}:" + ("\n" + body if body else " ...\n")


def prop(name, obj, indent):
    first, _ = split(obj.__doc__)
    kind, _, text = first.partition(": ")
    if not text:
        raise SystemExit(f"stubs.py: property {name} has no type in its docstring: {first!r}")
    pad = " " * indent
    out = f"{pad}@property\n{pad}def {name}(self) -> {kind}:\n" + docstring(text, indent + 4)
    if obj.fset is not None:
        out += f"{pad}@{name}.setter\n{pad}def {name}(self, value: {kind}) -> None: ...\n"
    return out


def stub_class(cls):
    name = cls.__name__
    if name in SPECIAL:
        return SPECIAL[name].format(doc=inspect.cleandoc(cls.__doc__ or ""))
    bases = [b.__name__ for b in cls.__bases__ if b.__module__.startswith("kvnodedefine")]
    if issubclass(cls, BaseException):
        bases = [b.__name__ for b in cls.__bases__]
    out = f"class {name}({', '.join(bases)}):\n" + docstring(inspect.cleandoc(cls.__doc__ or ""), 4)
    if issubclass(cls, BaseException):
        if name == "Error":
            for field, kind in (("file", "str | None"), ("line", "int | None"), ("column", "int | None"),
                                ("path", "str | None"), ("message", "str")):
                out += f"    {field}: {kind}\n"
        return out + "\n"
    for attr, obj in cls.__dict__.items():
        if attr == "TYPES":
            out += "    TYPES: dict[int, str]\n"
        elif isinstance(obj, property):
            out += prop(attr, obj, 4)
        elif attr == "__init__":
            if "Document" == name:
                out += "    def __init__(self, encoding: str | None = None) -> None: ...\n"
            elif name not in ("CXMLBase", "CXMLComposite", "CXMLUnknown", "Diagnostic"):
                out += "    def __init__(self, **fields: Any) -> None:\n" + docstring(obj.__doc__, 8)
        elif attr in ("__enter__",):
            out += "    def __enter__(self) -> Document: ...\n"
        elif attr == "__exit__":
            out += "    def __exit__(self, *args: object) -> None: ...\n"
        elif attr in ("__eq__",):
            out += "    def __eq__(self, other: object) -> bool: ...\n"
        elif attr == "__hash__":
            out += "    def __hash__(self) -> int: ...\n"
        elif attr.startswith("_"):
            continue
        elif callable(obj):
            out += method(attr, obj, 4, True)
    return out + "\n"


def main():
    out = HEADER.format(doc=inspect.cleandoc(kvnodedefine.__doc__ or ""))
    classes, functions, constants = [], [], []
    for name, obj in vars(native).items():
        if name.startswith("_"):
            continue
        if inspect.isclass(obj):
            classes.append(obj)
        elif callable(obj):
            functions.append((name, obj))
        else:
            constants.append((name, obj))
    # bases before the classes that derive from them
    ordered = []
    while classes:
        ready = [c for c in classes if not any(b in classes for b in c.__mro__[1:])]
        ordered += ready
        classes = [c for c in classes if c not in ready]
    out += "\n"
    for cls in ordered:
        out += stub_class(cls)
    for name, obj in functions:
        out += method(name, obj, 0, False) + "\n"
    for name, obj in constants:
        out += f"{name}: dict[int, str]\n"
    with open(sys.argv[2], "w", encoding="utf-8") as f:
        f.write(out)


main()
