// The library's identity: mask (2: the tour's texts), version, id, name, product.
2, 1, 0, "Quillmark III tour texts", "VSP"
