<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="zh_CN">
<context>
    <name>Corvane</name>
    <message>
        <source>Please select online data type !
</source>
        <translation>请选择在线数据类型 !
</translation>
    </message>
    <message>
        <source>0x10000000 &gt; ADDR &gt;= 0x100000, please check!</source>
        <translation>0x10000000 &gt; ADDR &gt;= 0x100000，请检查!</translation>
    </message>
    <message>
        <source>0x20000000 &gt; ADDR, please check!</source>
        <translation>0x20000000 &gt; ADDR，请检查!</translation>
    </message>
    <message>
        <source>0xE0000000 &gt; ADDR &gt;= 0x62000000, please check!</source>
        <translation>0xE0000000 &gt; ADDR &gt;= 0x62000000，请检查!</translation>
    </message>
    <message>
        <source>0xE0000000 &gt; ADDR &gt;= 0x64000000, please check!</source>
        <translation>0xE0000000 &gt; ADDR &gt;= 0x64000000，请检查!</translation>
    </message>
    <message>
        <source>transfer reaches 0x%08x: %s</source>
        <translation>传输到达 0x%08x: %s</translation>
    </message>
    <message>
        <source>%s is held by another writer, not written !
</source>
        <translation>%s 正被另一写入者占用，未写入 !
</translation>
    </message>
    <message>
        <source>%s cannot be read, not written !
</source>
        <translation>%s 无法读取，未写入 !
</translation>
    </message>
    <message>
        <source>%s is not UTF-8 text, not written !
</source>
        <translation>%s 不是 UTF-8 文本，未写入 !
</translation>
    </message>
    <message>
        <source>%s: its folder takes no new file, not written !
</source>
        <translation>%s: 所在文件夹不能新建文件，未写入 !
</translation>
    </message>
    <message>
        <source>%s write error, not written !
</source>
        <translation>%s 写入错误，未写入 !
</translation>
    </message>
    <message>
        <source>%s cannot hold [%s] %s with this text, not written !
</source>
        <translation>%s 无法以此文本保存 [%s] %s，未写入 !
</translation>
    </message>
    <message>
        <source>Please copy libjlinkarm.so file from the path of the JLink(SEGGER) software to the path of this tool!</source>
        <translation>请从 JLink(SEGGER) 软件的路径中复制 libjlinkarm.so 文件到本工具的路径!</translation>
    </message>
    <message>
        <source>jlink_EMU_SelectByUSBSN error
</source>
        <translation>jlink_EMU_SelectByUSBSN 错误
</translation>
    </message>
    <message>
        <source>jlink_IsOpen error
</source>
        <translation>jlink_IsOpen 错误
</translation>
    </message>
    <message>
        <source>jlink_EMU_IsConnected error
</source>
        <translation>jlink_EMU_IsConnected 错误
</translation>
    </message>
    <message>
        <source>jlink_Connect error
</source>
        <translation>jlink_Connect 错误
</translation>
    </message>
    <message>
        <source>link_Connect error
</source>
        <translation>link_Connect 错误
</translation>
    </message>
    <message>
        <source>jlink_ReadMemEx 0x%08x 0x%x error !
</source>
        <translation>jlink_ReadMemEx 0x%08x 0x%x 错误 !
</translation>
    </message>
    <message>
        <source>jlink_WriteMemEx 0x%08x 0x%x error !
</source>
        <translation>jlink_WriteMemEx 0x%08x 0x%x 错误 !
</translation>
    </message>
    <message>
        <source>jlink_ReadMemEx 0x%08x 4 error !
</source>
        <translation>jlink_ReadMemEx 0x%08x 4 错误 !
</translation>
    </message>
    <message>
        <source>jlink_WriteMemEx 0x%08x 4 error !
</source>
        <translation>jlink_WriteMemEx 0x%08x 4 错误 !
</translation>
    </message>
    <message>
        <source>%s not support uart debug !</source>
        <translation>%s 不支持 uart 调试 !</translation>
    </message>
    <message>
        <source>%s not support uart debug !
</source>
        <translation>%s 不支持 uart 调试 !
</translation>
    </message>
    <message>
        <source>uart open error !
</source>
        <translation>uart 打开错误 !
</translation>
    </message>
    <message>
        <source>EnterDebugMode error !
</source>
        <translation>EnterDebugMode 错误 !
</translation>
    </message>
    <message>
        <source>ReadMem 0x%08x 0x%x error !
</source>
        <translation>ReadMem 0x%08x 0x%x 错误 !
</translation>
    </message>
    <message>
        <source>WriteMem 0x%08x 0x%x error !
</source>
        <translation>WriteMem 0x%08x 0x%x 错误 !
</translation>
    </message>
    <message>
        <source>ReadMem 0x%08x 4 error !</source>
        <translation>ReadMem 0x%08x 4 错误 !</translation>
    </message>
    <message>
        <source>WriteMem 0x%08x 4 error !
</source>
        <translation>WriteMem 0x%08x 4 错误 !
</translation>
    </message>
    <message>
        <source>gdb connect %s error !
</source>
        <translation>gdb 连接 %s 错误 !
</translation>
    </message>
    <message>
        <source>gdb_ReadMem 0x%08x 0x%x error !
</source>
        <translation>gdb_ReadMem 0x%08x 0x%x 错误 !
</translation>
    </message>
    <message>
        <source>gdb_WriteMem 0x%08x 0x%x error !
</source>
        <translation>gdb_WriteMem 0x%08x 0x%x 错误 !
</translation>
    </message>
    <message>
        <source>gdb_ReadMem 0x%08x 4 error !
</source>
        <translation>gdb_ReadMem 0x%08x 4 错误 !
</translation>
    </message>
    <message>
        <source>gdb_WriteMem 0x%08x 4 error !
</source>
        <translation>gdb_WriteMem 0x%08x 4 错误 !
</translation>
    </message>
    <message>
        <source>gdb read of core register %s error !
</source>
        <translation>gdb 读取内核寄存器 %s 错误 !
</translation>
    </message>
    <message>
        <source>gdb write of core register %s error !
</source>
        <translation>gdb 写入内核寄存器 %s 错误 !
</translation>
    </message>
    <message>
        <source>core register %s: S_REGRDY not set within %d ms !
</source>
        <translation>内核寄存器 %s: S_REGRDY 在 %d ms 内未置位 !
</translation>
    </message>
    <message>
        <source>not host:port</source>
        <translation>不是 host:port</translation>
    </message>
    <message>
        <source>no reply within %d ms</source>
        <translation>%d ms 内无应答</translation>
    </message>
    <message>
        <source>closed by the server</source>
        <translation>被服务器关闭</translation>
    </message>
    <message>
        <source>the server kept sending without the reply</source>
        <translation>服务器不断发送，没有应答</translation>
    </message>
    <message>
        <source>a garbled reply</source>
        <translation>应答错乱</translation>
    </message>
    <message>
        <source>the server took no resend of the packet</source>
        <translation>服务器不接受数据包的重发</translation>
    </message>
    <message>
        <source>the server answered &quot;%s&quot;</source>
        <translation>服务器应答 &quot;%s&quot;</translation>
    </message>
    <message>
        <source>not a terminal</source>
        <translation>不是终端</translation>
    </message>
    <message>
        <source>the port hung up</source>
        <translation>端口已挂断</translation>
    </message>
    <message>
        <source>选择/输入 保存的文件</source>
        <translation>选择/输入 保存的文件</translation>
    </message>
    <message>
        <source>选择 写入芯片的文件</source>
        <translation>选择 写入芯片的文件</translation>
    </message>
    <message>
        <source>Binary Files(*.bin)</source>
        <translation>二进制文件(*.bin)</translation>
    </message>
    <message>
        <source>All Files(*)</source>
        <translation>所有文件(*)</translation>
    </message>
    <message>
        <source>ADDR shold 4 Bytes align, please check!</source>
        <translation>ADDR 应 4 字节对齐，请检查!</translation>
    </message>
    <message>
        <source>no file select, please check!</source>
        <translation>未选择文件，请检查!</translation>
    </message>
    <message>
        <source>LENGTH == 0, please check!</source>
        <translation>LENGTH == 0，请检查!</translation>
    </message>
    <message>
        <source>no data to write, please check!</source>
        <translation>没有要写入的数据，请检查!</translation>
    </message>
    <message>
        <source>input file too large for ADDR, please check!</source>
        <translation>输入文件对 ADDR 来说太大，请检查!</translation>
    </message>
    <message>
        <source>LENGTH over 1024 Bytes, data show too long, use 1024 Bytes!</source>
        <translation>LENGTH 超过 1024 字节，数据显示过长，使用 1024 字节!</translation>
    </message>
    <message>
        <source>LENGTH over 8*1024*1024 Bytes, use 8*1024*1024!</source>
        <translation>LENGTH 超过 8*1024*1024 字节，使用 8*1024*1024!</translation>
    </message>
    <message>
        <source>output file create fail !
</source>
        <translation>输出文件创建失败 !
</translation>
    </message>
    <message>
        <source>output file write fail !
</source>
        <translation>输出文件写入失败 !
</translation>
    </message>
    <message>
        <source>input file open fail !
</source>
        <translation>输入文件打开失败 !
</translation>
    </message>
    <message>
        <source>input file read fail !
</source>
        <translation>输入文件读取失败 !
</translation>
    </message>
    <message>
        <source>%s: not a regular file or a character device</source>
        <translation>%s: 不是普通文件或字符设备</translation>
    </message>
    <message>
        <source>%s: not a regular file</source>
        <translation>%s: 不是普通文件</translation>
    </message>
    <message>
        <source>%s: took no bytes for %d ms</source>
        <translation>%s: %d ms 内未接收任何字节</translation>
    </message>
    <message>
        <source>transfer stopped after 0x%x of 0x%x Bytes !
</source>
        <translation>传输在 0x%x / 0x%x 字节后停止 !
</translation>
    </message>
    <message>
        <source>the core is running: halt it first (&quot;halt HCPU&quot; in the panel, corvane-cli halt-hcpu), or ask for halt, read, keep halted (--halt) !
</source>
        <translation>内核正在运行: 请先暂停它（面板中的 &quot;halt HCPU&quot;，corvane-cli halt-hcpu），或要求暂停、读取、保持暂停 (--halt) !
</translation>
    </message>
    <message>
        <source>no core register %s, please check!</source>
        <translation>没有内核寄存器 %s，请检查!</translation>
    </message>
    <message>
        <source>core register %s is not written here (R0-R12, SP, PC, xPSR), please check!</source>
        <translation>内核寄存器 %s 不能在此写入 (R0-R12, SP, PC, xPSR)，请检查!</translation>
    </message>
    <message>
        <source>%s is not a 32-bit hexadecimal value, please check!</source>
        <translation>%s 不是 32 位十六进制数值，请检查!</translation>
    </message>
    <message>
        <source>core register %s is not given by the server !
</source>
        <translation>服务器未提供内核寄存器 %s !
</translation>
    </message>
    <message>
        <source>core register %s written 0x%08X, read back 0x%08X !
</source>
        <translation>内核寄存器 %s 写入 0x%08X，读回 0x%08X !
</translation>
    </message>
    <message>
        <source>not given by the server</source>
        <translation>服务器未提供</translation>
    </message>
    <message>
        <source>no symbol</source>
        <translation>无符号</translation>
    </message>
    <message>
        <source>stack overflow of the process stack (STKOF)</source>
        <translation>进程栈溢出 (STKOF)</translation>
    </message>
    <message>
        <source>stack overflow of the main stack (STKOF)</source>
        <translation>主栈溢出 (STKOF)</translation>
    </message>
    <message>
        <source>stack overflow (STKOF)</source>
        <translation>栈溢出 (STKOF)</translation>
    </message>
    <message>
        <source>the chip&apos;s own auxiliary fault bit</source>
        <translation>芯片自有的辅助故障位</translation>
    </message>
    <message>
        <source>not read: %s 0x%08X is outside readable memory (%s)</source>
        <translation>未读取: %s 0x%08X 在可读内存之外 (%s)</translation>
    </message>
    <message>
        <source>the frame would pass the end of the address space</source>
        <translation>栈帧将越过地址空间的末尾</translation>
    </message>
    <message>
        <source>not read: LR holds no EXC_RETURN</source>
        <translation>未读取: LR 不是 EXC_RETURN</translation>
    </message>
    <message>
        <source>not read: the core is in Thread mode, no exception is being handled</source>
        <translation>未读取: 内核处于线程模式，没有正在处理的异常</translation>
    </message>
    <message>
        <source>not read: %s not given by the server</source>
        <translation>未读取: 服务器未提供 %s</translation>
    </message>
    <message>
        <source>not an ELF file</source>
        <translation>不是 ELF 文件</translation>
    </message>
    <message>
        <source>not read: %s 0x%08X could not be read</source>
        <translation>未读取: %s 0x%08X 无法读取</translation>
    </message>
    <message>
        <source>%s open error! 
</source>
        <translation>%s 打开错误! 
</translation>
    </message>
    <message>
        <source>%s create error !
</source>
        <translation>%s 创建错误 !
</translation>
    </message>
    <message>
        <source>%s open error !
</source>
        <translation>%s 打开错误 !
</translation>
    </message>
    <message>
        <source>%s open error !</source>
        <translation>%s 打开错误 !</translation>
    </message>
    <message>
        <source>%s GetRegInfo error !
</source>
        <translation>%s GetRegInfo 错误 !
</translation>
    </message>
    <message>
        <source>%s GetRegInfo error !</source>
        <translation>%s GetRegInfo 错误 !</translation>
    </message>
    <message>
        <source>%s size 0x%x &gt; file len 0x%x, fill zero !
</source>
        <translation>%s 大小 0x%x &gt; 文件长度 0x%x，补零 !
</translation>
    </message>
    <message>
        <source>%s size 0x%x &lt; file len 0x%x, remove following data !
</source>
        <translation>%s 大小 0x%x &lt; 文件长度 0x%x，去掉后面的数据 !
</translation>
    </message>
    <message>
        <source>%s span 0x%x does not fit the 0x%x-byte transfer buffer, refused !
</source>
        <translation>%s 范围 0x%x 超出 0x%x 字节的传输缓冲区，已拒绝 !
</translation>
    </message>
    <message>
        <source>out of range !
%s does not fit %s (%u bits)
</source>
        <translation>超出范围 !
%s 放不进 %s (%u 位)
</translation>
    </message>
    <message>
        <source>not a number !
%s is no %s value for %s
</source>
        <translation>不是数字 !
%s 不是 %s 数值 (%s)
</translation>
    </message>
    <message>
        <source>not a number !
%s is no %s value for %s, nor one of its names: %s
</source>
        <translation>不是数字 !
%s 不是 %s 数值 (%s)，也不是它的名称之一: %s
</translation>
    </message>
    <message>
        <source>not read !
%s: reading %s changes the chip, so its other bits are not known; read it first or type its whole value
</source>
        <translation>未读取 !
%s: 读取 %s 会改变芯片，因此其他位未知；请先读取它，或输入完整数值
</translation>
    </message>
    <message>
        <source>not read !
%s: %s cannot be read (%s), so its other bits are not known; type its whole value
</source>
        <translation>未读取 !
%s: %s 无法读取 (%s)，因此其他位未知；请输入完整数值
</translation>
    </message>
    <message>
        <source>not written !
%s: another action runs; write it again once it has ended
</source>
        <translation>未写入 !
%s: 另一操作正在运行；请在它结束后再次写入
</translation>
    </message>
    <message>
        <source>寄存器数值</source>
        <translation>寄存器数值</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>数值</translation>
    </message>
    <message>
        <source>
(read clears: left out of whole-peripheral reads)</source>
        <translation>
(读取即清除: 整个外设读取时跳过)</translation>
    </message>
    <message>
        <source>[svd] peripherals not find !
</source>
        <translation>[svd] 未找到 peripherals !
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;name not find !
</source>
        <translation>[svd] 未找到 peripherals-&gt;peripheral-&gt;name !
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;baseAddress not find!
</source>
        <translation>[svd] 未找到 peripherals-&gt;peripheral-&gt;baseAddress!
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;name  not find!
</source>
        <translation>[svd] 未找到 peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;name!
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;addressOffset  not find!
</source>
        <translation>[svd] 未找到 peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;addressOffset!
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;name not find!
</source>
        <translation>[svd] 未找到 peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;name!
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;bitOffset not find!
</source>
        <translation>[svd] 未找到 peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;bitOffset!
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;bitWidth not find!
</source>
        <translation>[svd] 未找到 peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;bitWidth!
</translation>
    </message>
    <message>
        <source>[svd] %1 derivedFrom %2 not find!
</source>
        <translation>[svd] %1 未找到 derivedFrom %2!
</translation>
    </message>
    <message>
        <source>[svd] %1 dim %2 over %3!
</source>
        <translation>[svd] %1 dim %2 超过 %3!
</translation>
    </message>
    <message>
        <source>[svd] %1 %2 %3 not a number!
</source>
        <translation>[svd] %1 %2 %3 不是数字!
</translation>
    </message>
    <message>
        <source>[svd] %1 expands to more than %2 elements!
</source>
        <translation>[svd] %1 展开超过 %2 个元素!
</translation>
    </message>
    <message>
        <source>[svd] %1 clusters nested deeper than %2!
</source>
        <translation>[svd] %1 cluster 嵌套超过 %2 层!
</translation>
    </message>
    <message>
        <source>[svd] %1 address past 0xFFFFFFFF !
</source>
        <translation>[svd] %1 地址超过 0xFFFFFFFF !
</translation>
    </message>
    <message>
        <source>[svd] %1 span past 0xFFFFFFFF !
</source>
        <translation>[svd] %1 范围超过 0xFFFFFFFF !
</translation>
    </message>
    <message>
        <source>no address %1, please check!</source>
        <translation>没有地址 %1，请检查!</translation>
    </message>
    <message>
        <source>no length %1, please check!</source>
        <translation>没有长度 %1，请检查!</translation>
    </message>
    <message>
        <source>no data to find, please check!</source>
        <translation>没有要查找的数据，请检查!</translation>
    </message>
    <message>
        <source>%1 [SVD unreadable: not read]</source>
        <translation>%1 [SVD 不可读: 未读取]</translation>
    </message>
    <message>
        <source>memory window closed while the link was busy, not written:
%1</source>
        <translation>内存窗口在连接忙时关闭，未写入:
%1</translation>
    </message>
    <message>
        <source>x %1 管道创建失败
</source>
        <translation>x %1 管道创建失败
</translation>
    </message>
    <message>
        <source>%1 进程创建失败
</source>
        <translation>%1 进程创建失败
</translation>
    </message>
    <message>
        <source>管道接收异常
</source>
        <translation>管道接收异常
</translation>
    </message>
    <message>
        <source>无有效数据 !!!</source>
        <translation>无有效数据 !!!</translation>
    </message>
    <message>
        <source>此程序正在运行，同一路径只能打开一次。</source>
        <translation>此程序正在运行，同一路径只能打开一次。</translation>
    </message>
    <message>
        <source>No saved data to compare !
</source>
        <translation>没有可比较的已保存数据 !
</translation>
    </message>
    <message>
        <source>%1 create error !
</source>
        <translation>%1 创建错误 !
</translation>
    </message>
    <message>
        <source>%1 is read-only !</source>
        <translation>%1 是只读的 !</translation>
    </message>
    <message>
        <source>%1: not a GDB server, type host:port (port 1 to 65535) !
</source>
        <translation>%1: 不是 GDB 服务器，请输入 host:port（端口 1 到 65535）!
</translation>
    </message>
    <message>
        <source>usage: corvane-cli [--home DIR] [--chip NAME] [--language en|zh] COMMAND [ARGS...]

commands:
</source>
        <translation>用法: corvane-cli [--home DIR] [--chip NAME] [--language en|zh] COMMAND [ARGS...]

命令:
</translation>
    </message>
    <message>
        <source>usage: corvane-cli %1 %2
</source>
        <translation>用法: corvane-cli %1 %2
</translation>
    </message>
    <message>
        <source>corvane-cli: %1
</source>
        <translation>corvane-cli: %1
</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 需要一个值</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>未知选项 %1</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>未给出命令</translation>
    </message>
    <message>
        <source>unknown language %1 (en or zh)</source>
        <translation>未知语言 %1（en 或 zh）</translation>
    </message>
    <message>
        <source>unknown command %1</source>
        <translation>未知命令 %1</translation>
    </message>
    <message>
        <source>no peripheral %1 in %2
</source>
        <translation>%2 中没有外设 %1
</translation>
    </message>
    <message>
        <source>%1: %2 holds 0x%3 bytes of the span 0x%4; registers beyond its end are not compared
</source>
        <translation>%1: %2 只有范围 0x%4 中的 0x%3 字节；超出其末尾的寄存器不作比较
</translation>
    </message>
    <message>
        <source>no register %1 in %2
</source>
        <translation>%2 中没有寄存器 %1
</translation>
    </message>
    <message>
        <source>%1 cannot be read as an ELF file: %2
</source>
        <translation>%1 无法作为 ELF 文件读取: %2
</translation>
    </message>
    <message>
        <source>print the HCPU&apos;s core registers; a running core is refused unless --halt (halt it and keep it halted)</source>
        <translation>打印 HCPU 的内核寄存器；内核运行时拒绝，除非给出 --halt（暂停并保持暂停）</translation>
    </message>
    <message>
        <source>write R0-R12, SP, PC or xPSR of the halted HCPU (VALUE hexadecimal) and read it back</source>
        <translation>写入已暂停 HCPU 的 R0-R12、SP、PC 或 xPSR（VALUE 为十六进制）并读回</translation>
    </message>
    <message>
        <source>print the fault report: fault registers in words, the exception, the stacked frame; --elf adds functions and lines</source>
        <translation>打印故障报告: 故障寄存器的文字说明、异常、压栈的帧；--elf 加上函数和行号</translation>
    </message>
    <message>
        <source>list the IP blocks of the chip&apos;s analyzer files: &quot;+ NAME&quot; for a known block, &quot;- NAME&quot; otherwise</source>
        <translation>列出芯片分析文件中的 IP 模块: 已知模块为 &quot;+ NAME&quot;，否则为 &quot;- NAME&quot;</translation>
    </message>
    <message>
        <source>run the analyzer for each IP block and print every output row on its own line</source>
        <translation>对每个 IP 模块运行分析器，每个输出行单独打印一行</translation>
    </message>
    <message>
        <source>read these peripherals every interval and print each register that changed</source>
        <translation>每隔一段时间读取这些外设，打印每个变化的寄存器</translation>
    </message>
    <message>
        <source>print the registers and fields of NAME that differ between two snapshot files</source>
        <translation>打印 NAME 在两个快照文件之间不同的寄存器和位域</translation>
    </message>
    <message>
        <source>print memory as a memory window shows it: rows of 16 bytes, ASCII, register names</source>
        <translation>按内存窗口的显示打印内存: 每行 16 字节、ASCII、寄存器名</translation>
    </message>
    <message>
        <source>print the register window rows of these peripherals</source>
        <translation>打印这些外设的寄存器窗口行</translation>
    </message>
    <message>
        <source>read these peripherals into their snapshot files and print their rows</source>
        <translation>读取这些外设到它们的快照文件并打印其行</translation>
    </message>
    <message>
        <source>set a register&apos;s value and write it to the chip</source>
        <translation>设置寄存器的值并写入芯片</translation>
    </message>
    <message>
        <source>read up to 1024 bytes and print them as a hex dump</source>
        <translation>读取最多 1024 字节并以十六进制打印</translation>
    </message>
    <message>
        <source>read up to 8 MiB into FILE</source>
        <translation>读取最多 8 MiB 到 FILE</translation>
    </message>
    <message>
        <source>write one 32-bit word</source>
        <translation>写入一个 32 位字</translation>
    </message>
    <message>
        <source>write the whole of FILE from ADDR on</source>
        <translation>从 ADDR 起写入整个 FILE</translation>
    </message>
    <message>
        <source>stop the chip model&apos;s watchdogs</source>
        <translation>停止该芯片型号的看门狗</translation>
    </message>
    <message>
        <source>halt the high-performance CPU</source>
        <translation>暂停高性能 CPU</translation>
    </message>
    <message>
        <source>halt the low-power CPU</source>
        <translation>暂停低功耗 CPU</translation>
    </message>
    <message>
        <source>clean the level-1 data cache by set and way</source>
        <translation>按 set 和 way 清理一级数据缓存</translation>
    </message>
    <message>
        <source>let the halted cores run; until then every command leaves them halted</source>
        <translation>让暂停的内核运行；在此之前每个命令都让它们保持暂停</translation>
    </message>
    <message>
        <source>check that FILE is well-formed XML: prints sound or not sound, then the error text</source>
        <translation>检查 FILE 是否为格式正确的 XML: 打印 sound 或 not sound，然后是错误文本</translation>
    </message>
    <message>
        <source>list the peripheral names of the SVD file FILE, one per line</source>
        <translation>列出 SVD 文件 FILE 中的外设名称，每行一个</translation>
    </message>
    <message>
        <source>print peripheral NAME of the SVD file FILE with its registers and fields</source>
        <translation>打印 SVD 文件 FILE 中的外设 NAME 及其寄存器和位域</translation>
    </message>
    <message>
        <source>语言(&amp;L)</source>
        <translation>语言(&amp;L)</translation>
    </message>
    <message>
        <source>The language chosen is used from the next start of Corvane.</source>
        <translation>所选语言将在 Corvane 下次启动时使用。</translation>
    </message>
    <message>
        <source>地址</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>后退 (Alt+Left)</source>
        <translation>后退 (Alt+Left)</translation>
    </message>
    <message>
        <source>前进 (Alt+Right)</source>
        <translation>前进 (Alt+Right)</translation>
    </message>
    <message>
        <source>%1位</source>
        <translation>%1位</translation>
    </message>
    <message>
        <source>%1 字节/行</source>
        <translation>%1 字节/行</translation>
    </message>
    <message>
        <source>监视</source>
        <translation>监视</translation>
    </message>
    <message>
        <source>%1 次/秒</source>
        <translation>%1 次/秒</translation>
    </message>
    <message>
        <source>查找 (Ctrl+F)</source>
        <translation>查找 (Ctrl+F)</translation>
    </message>
    <message>
        <source>字节序列</source>
        <translation>字节序列</translation>
    </message>
    <message>
        <source>32位值</source>
        <translation>32位值</translation>
    </message>
    <message>
        <source>从</source>
        <translation>从</translation>
    </message>
    <message>
        <source>长度</source>
        <translation>长度</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>查找</source>
        <translation>查找</translation>
    </message>
    <message>
        <source>保存到文件</source>
        <translation>保存到文件</translation>
    </message>
    <message>
        <source>从文件载入</source>
        <translation>从文件载入</translation>
    </message>
    <message>
        <source>查找中…</source>
        <translation>查找中…</translation>
    </message>
    <message>
        <source>找到 0x%1</source>
        <translation>找到 0x%1</translation>
    </message>
    <message>
        <source>未找到</source>
        <translation>未找到</translation>
    </message>
    <message>
        <source>已取消</source>
        <translation>已取消</translation>
    </message>
    <message>
        <source>保存中…</source>
        <translation>保存中…</translation>
    </message>
    <message>
        <source>载入中…</source>
        <translation>载入中…</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>%1 不在外设列表中</source>
        <translation>%1 不在外设列表中</translation>
    </message>
</context>
</TS>
