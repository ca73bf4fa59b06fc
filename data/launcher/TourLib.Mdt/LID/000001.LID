// The library's identity: mask, version, id, name, product.
0xFFFFFFFF, 1, 0, "Quillmark III tour data", "VSP"
