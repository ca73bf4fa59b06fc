// The library's identity: mask (4: the tour's custom data), version, id, name, product.
4, 1, 0, "Quillmark III tour custom data", "VSP"
