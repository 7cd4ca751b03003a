// Resource ids of the windows' artwork (qv_artwork) and of the program's own resources
// (qv_app_resources). Plain macros: the resource compiler reads this file too.
#ifndef QV_ARTWORK_IDS_H
#define QV_ARTWORK_IDS_H

// PNG pictures, RT_RCDATA.
#define IDR_PNG_BANNER 101          // 620 x 241, RGBA, opaque
#define IDR_PNG_MINIMISE 102        // 30 x 27, RGBA
#define IDR_PNG_MINIMISE_HOVER 103  // 30 x 27, RGBA
#define IDR_PNG_CLOSE 104           // 30 x 27, RGBA
#define IDR_PNG_CLOSE_HOVER 105     // 30 x 27, RGBA
#define IDR_PNG_GREY_ARROW 106      // 14 x 15, RGB
#define IDR_PNG_DOWNLOAD_NOW 107    // 215 x 57, RGB
#define IDR_PNG_DOWNLOAD 108        // 196 x 50, RGB
#define IDR_PNG_CHOOSE_FOLDER 109   // 70 x 26, RGB
#define IDR_PNG_INSTALL 110         // 194 x 48, RGB
#define IDR_PNG_PROGRESS_TRACK 111  // 738 x 19, RGB
#define IDR_PNG_PROGRESS_FILL 112   // 736 x 19, RGB
#define IDR_PNG_ALERT 113           // 60 x 54, RGB
#define IDR_PNG_RELOAD 114          // 66 x 27, RGB
#define IDR_PNG_BROWSER_LINK 115    // 105 x 17, RGB

// 24-bit bitmaps, RT_BITMAP.
#define IDB_TITLE_BAR 201       // 737 x 26, blue bar of the dialogs' title
#define IDB_MSG_FRAME 202       // 37 x 17, grey 7F7F7F, the message box's 1-pixel frame
#define IDB_MSG_CLOSE 203       // 26 x 26, red DA3610 square with a white cross
#define IDB_MSG_INFO 204        // 48 x 48 on white: blue disc, white i
#define IDB_MSG_ERROR 205       // 48 x 48 on white: red disc, white cross
#define IDB_MSG_WARNING 206     // 48 x 48 on white: orange triangle, white !
#define IDB_MSG_CONFIRM 207     // 48 x 48 on white: blue disc, white !
#define IDB_MSG_BUTTON_BAR 208  // 4 x 46, pale vertical gradient

// The program's own resources (qv_app_resources, main executable only).
#define IDI_APP 1  // icon group: 48/32/24/16 at 256 colours, 64..16 at 32 bits

#endif
