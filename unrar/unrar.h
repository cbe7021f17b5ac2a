/* The C interface of the RAR extraction module: the published API of the RAR extraction library, so
 * that any build of that library can stand in for this one. Records and values keep their published
 * layouts; every field is an unsigned int or a char buffer. */
#ifndef KELVOX_UNRAR_H
#define KELVOX_UNRAR_H

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

RAR_EXPORT void* RAR_API RAROpenArchive(struct RAROpenArchiveData* ArchiveData);
RAR_EXPORT int RAR_API RARCloseArchive(void* hArcData);
RAR_EXPORT int RAR_API RARReadHeader(void* hArcData, struct RARHeaderData* HeaderData);
RAR_EXPORT int RAR_API RARProcessFile(void* hArcData, int Operation, char* DestPath, char* DestName);
RAR_EXPORT void RAR_API RARSetChangeVolProc(void* hArcData, CHANGEVOLPROC ChangeVolProc);
RAR_EXPORT void RAR_API RARSetPassword(void* hArcData, char* Password);

#ifdef __cplusplus
}
#endif

#endif
