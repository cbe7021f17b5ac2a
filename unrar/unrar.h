/* The C interface of the RAR extraction module: the published API of the RAR extraction library, so
 * that any build of that library can stand in for this one. Records and values keep their published
 * layouts. */
#ifndef KELVOX_UNRAR_H
#define KELVOX_UNRAR_H

#include <stddef.h> /* wchar_t */

#if defined(_WIN32)
#include <windows.h> /* LPARAM */
#else
typedef long LPARAM;
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define ERAR_SUCCESS 0
#define ERAR_END_ARCHIVE 10
#define ERAR_NO_MEMORY 11
#define ERAR_BAD_DATA 12
#define ERAR_BAD_ARCHIVE 13
#define ERAR_UNKNOWN_FORMAT 14
#define ERAR_EOPEN 15
#define ERAR_ECREATE 16
#define ERAR_ECLOSE 17
#define ERAR_EREAD 18
#define ERAR_EWRITE 19
#define ERAR_SMALL_BUF 20
#define ERAR_UNKNOWN 21

#define RAR_OM_LIST 0
#define RAR_OM_EXTRACT 1

#define RAR_SKIP 0
#define RAR_TEST 1
#define RAR_EXTRACT 2

#define RAR_VOL_ASK 0
#define RAR_VOL_NOTIFY 1

/* Messages of the callback set with RARSetCallback:
 * UCM_CHANGEVOLUME  P1 the volume's name (a buffer of 2048 bytes), P2 RAR_VOL_ASK or RAR_VOL_NOTIFY;
 * UCM_PROCESSDATA   P1 the address of the bytes just unpacked, P2 their count (at most 1 MiB);
 * UCM_NEEDPASSWORD  P1 a buffer for the password, P2 its size; never sent: nothing here decrypts;
 * UCM_CHANGEVOLUMEW as UCM_CHANGEVOLUME with a buffer of 2048 wide characters; sent first, and only to a
 *                   client that named the archive by ArcNameW. An answer of 0 (a message the client does
 *                   not know) sends the same question as UCM_CHANGEVOLUME.
 * Names in the narrow fields and buffers are UTF-8, on Windows too. */
#define UCM_CHANGEVOLUME 0
#define UCM_PROCESSDATA 1
#define UCM_NEEDPASSWORD 2
#define UCM_CHANGEVOLUMEW 3

/* RAROpenArchiveDataEx.Flags: what the archive's first volume says of the archive. */
#define ROADF_VOLUME 0x0001
#define ROADF_COMMENT 0x0002
#define ROADF_SOLID 0x0008
#define ROADF_NEWNUMBERING 0x0010

#if defined(_WIN32)
#define RAR_API __stdcall
#define RAR_EXPORT __declspec(dllexport)
#else
#define RAR_API
#define RAR_EXPORT __attribute__((visibility("default")))
#endif

struct RARHeaderData {
    char ArcName[260];
    char FileName[260];
    unsigned int Flags;
    unsigned int PackSize;
    unsigned int UnpSize;
    unsigned int HostOS;
    unsigned int FileCRC;
    unsigned int FileTime;
    unsigned int UnpVer;
    unsigned int Method;
    unsigned int FileAttr;
    char* CmtBuf;
    unsigned int CmtBufSize;
    unsigned int CmtSize;
    unsigned int CmtState;
};

/* The header with 64-bit sizes (the High halves) and longer names; the client zeroes Reserved, which
 * later versions of the record may give meanings. */
struct RARHeaderDataEx {
    char ArcName[1024];
    wchar_t ArcNameW[1024];
    char FileName[1024];
    wchar_t FileNameW[1024];
    unsigned int Flags;
    unsigned int PackSize;
    unsigned int PackSizeHigh;
    unsigned int UnpSize;
    unsigned int UnpSizeHigh;
    unsigned int HostOS;
    unsigned int FileCRC;
    unsigned int FileTime;
    unsigned int UnpVer;
    unsigned int Method;
    unsigned int FileAttr;
    char* CmtBuf;
    unsigned int CmtBufSize;
    unsigned int CmtSize;
    unsigned int CmtState;
    unsigned int Reserved[1024];
};

struct RAROpenArchiveData {
    char* ArcName;
    unsigned int OpenMode;
    unsigned int OpenResult;
    char* CmtBuf;
    unsigned int CmtBufSize;
    unsigned int CmtSize;
    unsigned int CmtState;
};

typedef int(RAR_API* CHANGEVOLPROC)(char* ArcName, int Mode);

/* Answering -1 cancels the operation in progress, which then returns ERAR_UNKNOWN. */
typedef int(RAR_API* UNRARCALLBACK)(unsigned int msg, LPARAM UserData, LPARAM P1, LPARAM P2);

/* The archive named in wide characters (ArcNameW, taken before ArcName when not null), with the
 * callback given at once; the client zeroes Reserved. */
struct RAROpenArchiveDataEx {
    char* ArcName;
    wchar_t* ArcNameW;
    unsigned int OpenMode;
    unsigned int OpenResult;
    char* CmtBuf;
    unsigned int CmtBufSize;
    unsigned int CmtSize;
    unsigned int CmtState;
    unsigned int Flags;
    UNRARCALLBACK Callback;
    LPARAM UserData;
    unsigned int Reserved[28];
};

RAR_EXPORT void* RAR_API RAROpenArchive(struct RAROpenArchiveData* ArchiveData);
RAR_EXPORT void* RAR_API RAROpenArchiveEx(struct RAROpenArchiveDataEx* ArchiveData);
RAR_EXPORT int RAR_API RARCloseArchive(void* hArcData);
RAR_EXPORT int RAR_API RARReadHeader(void* hArcData, struct RARHeaderData* HeaderData);
RAR_EXPORT int RAR_API RARReadHeaderEx(void* hArcData, struct RARHeaderDataEx* HeaderData);
RAR_EXPORT int RAR_API RARProcessFile(void* hArcData, int Operation, char* DestPath, char* DestName);
RAR_EXPORT int RAR_API RARProcessFileW(void* hArcData, int Operation, wchar_t* DestPath, wchar_t* DestName);
/* Takes over from a volume procedure set with RARSetChangeVolProc. */
RAR_EXPORT void RAR_API RARSetCallback(void* hArcData, UNRARCALLBACK Callback, LPARAM UserData);
RAR_EXPORT void RAR_API RARSetChangeVolProc(void* hArcData, CHANGEVOLPROC ChangeVolProc);
RAR_EXPORT void RAR_API RARSetPassword(void* hArcData, char* Password);

#ifdef __cplusplus
}
#endif

#endif
