#!/usr/bin/python3
# Writes the seed pictures of the image decoder fuzz target (run with Debian's python3).
import os
from PIL import Image

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "seeds", "image")
os.makedirs(here, exist_ok=True)
rgba = Image.new("RGBA", (7, 5))
for y in range(5):
    for x in range(7):
        rgba.putpixel((x, y), (x * 30, y * 40, 90, 255 - x * 20))
rgba.save(os.path.join(here, "rgba.png"))
rgba.convert("RGB").save(os.path.join(here, "rgb.png"))
rgba.convert("L").save(os.path.join(here, "grey.png"))
rgba.convert("P").save(os.path.join(here, "palette.png"))
rgba.convert("RGB").save(os.path.join(here, "small.jpg"), quality=80)
rgba.convert("L").save(os.path.join(here, "grey.jpg"), quality=80)
rgba.convert("RGB").save(os.path.join(here, "progressive.jpg"), quality=80, progressive=True)
