# The AppStream metainfo that software centres read, from its template. With a web
# page, the centre links to it and shows the screenshots in docs/ from under it;
# without one (no page yet) both are left out.
function(tessaly_metainfo template out page)
  set(TESSALY_METAINFO_PAGE "")
  if(page)
    set(shots
      "screenshot.png|The practice window after ten callsigns, the wrong characters marked|练习结束后的主窗口，抄错的字符已标出"
      "analysis.png|The error analysis: the characters missed most|错误分析：最常抄错的字符"
      "progress.png|The learning record's progress window|学习进度窗口"
      "threshold.png|A threshold run's result|阈值测试的结果")
    string(APPEND TESSALY_METAINFO_PAGE "  <url type=\"homepage\">${page}</url>\n  <screenshots>\n")
    set(kind " type=\"default\"")
    foreach(shot IN LISTS shots)
      string(REPLACE "|" ";" parts "${shot}")
      list(GET parts 0 file)
      list(GET parts 1 caption)
      list(GET parts 2 captionZh)
      string(APPEND TESSALY_METAINFO_PAGE
        "    <screenshot${kind}>\n"
        "      <caption>${caption}</caption>\n"
        "      <caption xml:lang=\"zh-CN\">${captionZh}</caption>\n"
        "      <image>${page}/docs/${file}</image>\n"
        "    </screenshot>\n")
      set(kind "")
    endforeach()
    string(APPEND TESSALY_METAINFO_PAGE "  </screenshots>")
  endif()
  configure_file(${template} ${out} @ONLY)
endfunction()
