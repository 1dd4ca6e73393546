"""Node definition documents of KvNodeDefine: load, walk, change, build,
save and check the descriptor trees that steel connection nodes are made of.

    import kvnodedefine
    doc = kvnodedefine.load("beam-column-endplate.xml")
    for plate in doc.walk(kvnodedefine.CPlateDesc):
        print(plate.name, plate.thick_exp)
"""
from ._kvnodedefine import *  # noqa: F401,F403
from ._kvnodedefine import __doc__ as _native_doc, __version__  # noqa: F401

del _native_doc
