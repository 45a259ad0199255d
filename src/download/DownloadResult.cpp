#include "download/DownloadResult.h"

namespace ravelo {
namespace {

// libcurl's result names by number, as its public header spells them (gaps are retired numbers).
constexpr const char* kCurlNames[] = {"CURLE_OK",
                                      "CURLE_UNSUPPORTED_PROTOCOL",
                                      "CURLE_FAILED_INIT",
                                      "CURLE_URL_MALFORMAT",
                                      "CURLE_NOT_BUILT_IN",
                                      "CURLE_COULDNT_RESOLVE_PROXY",
                                      "CURLE_COULDNT_RESOLVE_HOST",
                                      "CURLE_COULDNT_CONNECT",
                                      "CURLE_WEIRD_SERVER_REPLY",
                                      "CURLE_REMOTE_ACCESS_DENIED",
                                      "CURLE_FTP_ACCEPT_FAILED",
                                      "CURLE_FTP_WEIRD_PASS_REPLY",
                                      "CURLE_FTP_ACCEPT_TIMEOUT",
                                      "CURLE_FTP_WEIRD_PASV_REPLY",
                                      "CURLE_FTP_WEIRD_227_FORMAT",
                                      "CURLE_FTP_CANT_GET_HOST",
                                      "CURLE_HTTP2",
                                      "CURLE_FTP_COULDNT_SET_TYPE",
                                      "CURLE_PARTIAL_FILE",
                                      "CURLE_FTP_COULDNT_RETR_FILE",
                                      "CURLE_OBSOLETE20",
                                      "CURLE_QUOTE_ERROR",
                                      "CURLE_HTTP_RETURNED_ERROR",
                                      "CURLE_WRITE_ERROR",
                                      "CURLE_OBSOLETE24",
                                      "CURLE_UPLOAD_FAILED",
                                      "CURLE_READ_ERROR",
                                      "CURLE_OUT_OF_MEMORY",
                                      "CURLE_OPERATION_TIMEDOUT",
                                      "CURLE_OBSOLETE29",
                                      "CURLE_FTP_PORT_FAILED",
                                      "CURLE_FTP_COULDNT_USE_REST",
                                      "CURLE_OBSOLETE32",
                                      "CURLE_RANGE_ERROR",
                                      "CURLE_HTTP_POST_ERROR",
                                      "CURLE_SSL_CONNECT_ERROR",
                                      "CURLE_BAD_DOWNLOAD_RESUME",
                                      "CURLE_FILE_COULDNT_READ_FILE",
                                      "CURLE_LDAP_CANNOT_BIND",
                                      "CURLE_LDAP_SEARCH_FAILED",
                                      "CURLE_OBSOLETE40",
                                      "CURLE_FUNCTION_NOT_FOUND",
                                      "CURLE_ABORTED_BY_CALLBACK",
                                      "CURLE_BAD_FUNCTION_ARGUMENT",
                                      "CURLE_OBSOLETE44",
                                      "CURLE_INTERFACE_FAILED",
                                      "CURLE_OBSOLETE46",
                                      "CURLE_TOO_MANY_REDIRECTS",
                                      "CURLE_UNKNOWN_OPTION",
                                      "CURLE_SETOPT_OPTION_SYNTAX",
                                      "CURLE_OBSOLETE50",
                                      "CURLE_OBSOLETE51",
                                      "CURLE_GOT_NOTHING",
                                      "CURLE_SSL_ENGINE_NOTFOUND",
                                      "CURLE_SSL_ENGINE_SETFAILED",
                                      "CURLE_SEND_ERROR",
                                      "CURLE_RECV_ERROR",
                                      "CURLE_OBSOLETE57",
                                      "CURLE_SSL_CERTPROBLEM",
                                      "CURLE_SSL_CIPHER",
                                      "CURLE_PEER_FAILED_VERIFICATION",
                                      "CURLE_BAD_CONTENT_ENCODING",
                                      "CURLE_OBSOLETE62",
                                      "CURLE_FILESIZE_EXCEEDED",
                                      "CURLE_USE_SSL_FAILED",
                                      "CURLE_SEND_FAIL_REWIND",
                                      "CURLE_SSL_ENGINE_INITFAILED",
                                      "CURLE_LOGIN_DENIED",
                                      "CURLE_TFTP_NOTFOUND",
                                      "CURLE_TFTP_PERM",
                                      "CURLE_REMOTE_DISK_FULL",
                                      "CURLE_TFTP_ILLEGAL",
                                      "CURLE_TFTP_UNKNOWNID",
                                      "CURLE_REMOTE_FILE_EXISTS",
                                      "CURLE_TFTP_NOSUCHUSER",
                                      "CURLE_OBSOLETE75",
                                      "CURLE_OBSOLETE76",
                                      "CURLE_SSL_CACERT_BADFILE",
                                      "CURLE_REMOTE_FILE_NOT_FOUND",
                                      "CURLE_SSH",
                                      "CURLE_SSL_SHUTDOWN_FAILED",
                                      "CURLE_AGAIN",
                                      "CURLE_SSL_CRL_BADFILE",
                                      "CURLE_SSL_ISSUER_ERROR",
                                      "CURLE_FTP_PRET_FAILED",
                                      "CURLE_RTSP_CSEQ_ERROR",
                                      "CURLE_RTSP_SESSION_ERROR",
                                      "CURLE_FTP_BAD_FILE_LIST",
                                      "CURLE_CHUNK_FAILED",
                                      "CURLE_NO_CONNECTION_AVAILABLE",
                                      "CURLE_SSL_PINNEDPUBKEYNOTMATCH",
                                      "CURL_LAST"};

} // namespace

std::string DownloadFailureText(int code)
{
    switch (code) {
    case kResultNoAddress:
        return "没有可用的下载链接";
    case kResultNoLength:
        return "获取文件长度出错";
    case kResultCannotCreateFile:
        return "创建文件失败:请检查下载路径是否正确";
    case kResultUnpackFailed:
        return "解压文件出错";
    case kResultNoVolumeAddress:
        return "没有可用的分卷下载链接";
    case kResultChecksumMismatch:
        return "文件校验失败:下载的文件已损坏,请重新下载";
    case kResultDiskFull:
        return "写入文件失败:磁盘空间不足";
    case kResultBadGameId:
        return "游戏编号无效";
    default:
        break;
    }
    if (code >= 1 && code <= 91)
        return kCurlNames[code];
    if (code >= 100 && code <= 599)
        return "服务器返回错误(HTTP " + std::to_string(code) + ")";
    return "未知错误";
}

} // namespace ravelo
