# Who Quorvane is, in one place: the plug-in class, the module's class factory, the bundles' property
# lists and moduleinfo.json all read these values (through the generated QuorvaneIdentity.h for C++).
# Included by the root CMakeLists.txt before project(), so the project's version is this version.
set(QV_ID_NAME "Quorvane")
set(QV_ID_DESCRIPTION "Stereo bus compressor")
set(QV_ID_VENDOR "Tallowmarkworks")
set(QV_ID_URL "https://www.tallowmarkworks.com")
set(QV_ID_EMAIL "support@tallowmarkworks.com")
set(QV_ID_VERSION "1.1.0")
# Reverse-domain identifier: the macOS bundle identifier (the editor finds its images by it) and the
# CLAP plug-in id.
set(QV_ID_BUNDLE_ID "com.tallowmarkworks.quorvane")
# Four-character maker and plug-in codes; the VST 3 class identifier is two words fixed once for the
# product followed by these two codes.
set(QV_ID_MAKER_CODE "Tmwk")
set(QV_ID_PLUGIN_CODE "Qvr1")
set(QV_ID_CLASS_WORDS "5A3C9E17" "B4D2417F")
set(QV_ID_VST3_SUBCATEGORIES "Fx|Dynamics")
set(QV_ID_CLAP_FEATURES "audio-effect" "compressor" "stereo")
# Objective-C classes share one namespace per process: a suffix of the product's own keeps two
# plug-ins built on this code apart (each format appends its own: _vQuorvane_vst3).
set(QV_ID_OBJC_SUFFIX "_vQuorvane")

# Derived forms.
string(HEX "${QV_ID_MAKER_CODE}" _qv_maker_hex)
string(HEX "${QV_ID_PLUGIN_CODE}" _qv_plugin_hex)
string(TOUPPER "${_qv_maker_hex}" _qv_maker_hex)
string(TOUPPER "${_qv_plugin_hex}" _qv_plugin_hex)
list(GET QV_ID_CLASS_WORDS 0 _qv_w1)
list(GET QV_ID_CLASS_WORDS 1 _qv_w2)
# As hosts print class identifiers: 32 hexadecimal digits.
set(QV_ID_CLASS_ID "${_qv_w1}${_qv_w2}${_qv_maker_hex}${_qv_plugin_hex}")
string(REPLACE "." ";" _qv_v "${QV_ID_VERSION}")
list(GET _qv_v 0 _qv_major)
list(GET _qv_v 1 _qv_minor)
list(GET _qv_v 2 _qv_bugfix)
math(EXPR QV_ID_PACKED_VERSION "(${_qv_major} << 16) | (${_qv_minor} << 8) | ${_qv_bugfix}"
     OUTPUT_FORMAT HEXADECIMAL)
