-- STAND-IN for the campaign's appraisal screen: the appraised tile's large picture, its
-- name and what the appraiser says of it. The game window sets the appraised face and
-- queues DoModal('scripts/appraisal.lua'); the real screen replaces this file.
ReadFile( "scripts/dialogkit.lua" )

MakeDialog{ name = "appraisal",
  DialogPanel( "appraisal", {
    DialogTitle( "appraisal_title", "gameappraisal_title" ),
    Bitmap{ name = "appraisal_face", x = 34, y = 70, scale = 0.85, image = AppraisedPicture() },
    Text{ name = "appraisal_text", x = 166, y = 70, w = 262, h = 180,
          label = "#" .. AppraisedText(), flags = kHAlignLeft + kVAlignTop,
          font = { kDialogTextFont, 15, kDialogInk } },
    DialogButton{ name = "appraisal_ok", label = "gameappraisal_ok", x = 135, y = 262,
                  close = true, default = true, cancel = true },
  } ),
}
