"""Where the tests find the sources and the staged content."""

import os
import sys

SOURCE = os.environ.get("MC_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
STAGE = os.environ.get("MC_CONTENT_STAGE", "")
CATALOGUE = os.path.join(SOURCE, "content", "catalogue", "faces.csv")
sys.path.insert(0, os.path.join(SOURCE, "content", "pictures", "gen"))
