// The library's identity: mask, version, disc flags (none: bound to no disc), name, product.
0xFFFFFFFF, 1, 0, "Quillmark III data", "QM3"
