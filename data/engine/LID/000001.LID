// The library's identity: mask, version, id, name, product.
0xFFFFFFFF, 1, 1, "Engine data", "QM3"
