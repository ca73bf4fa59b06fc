// The library's identity: mask (1: the tour's data), version, id, name, product.
1, 1, 0, "Quillmark III tour data", "VSP"
