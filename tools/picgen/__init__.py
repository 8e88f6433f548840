"""Generator of Lumenwaltz's pictures: sprite textures, overlay bitmaps and icons."""
