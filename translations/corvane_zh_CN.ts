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
        <source>保存数据 %1</source>
        <translation>保存数据 %1</translation>
    </message>
    <message>
        <source>***** 导入默认路径文件请点击&quot;取消&quot;按钮 *****</source>
        <translation>***** 导入默认路径文件请点击&quot;取消&quot;按钮 *****</translation>
    </message>
    <message>
        <source>Register data Files(*.bin)</source>
        <translation>寄存器数据文件(*.bin)</translation>
    </message>
    <message>
        <source>IP分析</source>
        <translation>IP分析</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>清空</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>sel</source>
        <translation>选择</translation>
    </message>
    <message>
        <source>IP list</source>
        <translation>IP 列表</translation>
    </message>
    <message>
        <source>log Files(*.log)</source>
        <translation>日志文件(*.log)</translation>
    </message>
    <message>
        <source>All Files(*.*)</source>
        <translation>所有文件(*.*)</translation>
    </message>
    <message>
        <source>trace info</source>
        <translation>跟踪信息</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>关于 Corvane</source>
        <translation>关于 Corvane</translation>
    </message>
    <message>
        <source>Corvane，版本 %1</source>
        <translation>Corvane，版本 %1</translation>
    </message>
    <message>
        <source>core</source>
        <translation>内核</translation>
    </message>
    <message>
        <source>内核窗口(&amp;K)	Ctrl+K</source>
        <translation>内核窗口(&amp;K)	Ctrl+K</translation>
    </message>
    <message>
        <source>内核窗口</source>
        <translation>内核窗口</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>读取</translation>
    </message>
    <message>
        <source>halt, read, keep halted</source>
        <translation>停止、读取、保持停止</translation>
    </message>
    <message>
        <source>Watch</source>
        <translation>监视</translation>
    </message>
    <message>
        <source>ELF file</source>
        <translation>ELF 文件</translation>
    </message>
    <message>
        <source>Select the firmware&apos;s ELF file</source>
        <translation>选择固件的 ELF 文件</translation>
    </message>
    <message>
        <source>ELF Files(*.elf *.axf *.out)</source>
        <translation>ELF 文件(*.elf *.axf *.out)</translation>
    </message>
    <message>
        <source>registers</source>
        <translation>寄存器</translation>
    </message>
    <message>
        <source>fault</source>
        <translation>故障</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Meaning</source>
        <translation>含义</translation>
    </message>
    <message>
        <source>The core is running: nothing was read. Halt it with &quot;halt HCPU&quot; in the panel, or here with &quot;halt, read, keep halted&quot;.</source>
        <translation>内核正在运行：未读取。请在面板中用&quot;halt HCPU&quot;停止它，或在此用&quot;停止、读取、保持停止&quot;。</translation>
    </message>
    <message>
        <source>Not read: the link failed.</source>
        <translation>未读取：连接失败。</translation>
    </message>
    <message>
        <source>Read at %1, the core halted.</source>
        <translation>读取于 %1，内核已停止。</translation>
    </message>
    <message>
        <source>Faulting PC: %1 %2</source>
        <translation>故障 PC：%1 %2</translation>
    </message>
    <message>
        <source>No stacked frame: the faulting PC is not known.</source>
        <translation>没有压栈帧：故障 PC 未知。</translation>
    </message>
    <message>
        <source>ELF file %1 not taken: %2</source>
        <translation>未采用 ELF 文件 %1：%2</translation>
    </message>
    <message>
        <source>%1: %2 is not a 32-bit number, please check!</source>
        <translation>%1：%2 不是 32 位数，请检查!</translation>
    </message>
    <message>
        <source>Control Panel</source>
        <translation>控制面板</translation>
    </message>
    <message>
        <source>交互控制界面</source>
        <translation>交互控制界面</translation>
    </message>
    <message>
        <source>寄存器检测界面</source>
        <translation>寄存器检测界面</translation>
    </message>
    <message>
        <source>内存窗口</source>
        <translation>内存窗口</translation>
    </message>
    <message>
        <source>平    台</source>
        <translation>平    台</translation>
    </message>
    <message>
        <source>数 据 源</source>
        <translation>数 据 源</translation>
    </message>
    <message>
        <source>离线数据</source>
        <translation>离线数据</translation>
    </message>
    <message>
        <source>JLINK读取</source>
        <translation>JLINK读取</translation>
    </message>
    <message>
        <source>UART读取</source>
        <translation>UART读取</translation>
    </message>
    <message>
        <source>GDB读取</source>
        <translation>GDB读取</translation>
    </message>
    <message>
        <source>端    口</source>
        <translation>端    口</translation>
    </message>
    <message>
        <source>速    率</source>
        <translation>速    率</translation>
    </message>
    <message>
        <source>展开等级</source>
        <translation>展开等级</translation>
    </message>
    <message>
        <source>展开1级</source>
        <translation>展开1级</translation>
    </message>
    <message>
        <source>展开2级</source>
        <translation>展开2级</translation>
    </message>
    <message>
        <source>展开3级</source>
        <translation>展开3级</translation>
    </message>
    <message>
        <source>写寄存器</source>
        <translation>写寄存器</translation>
    </message>
    <message>
        <source>立即写入</source>
        <translation>立即写入</translation>
    </message>
    <message>
        <source>右键菜单写入</source>
        <translation>右键菜单写入</translation>
    </message>
    <message>
        <source>数据进制</source>
        <translation>数据进制</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>关看门狗</source>
        <translation>关看门狗</translation>
    </message>
    <message>
        <source>清CACHE</source>
        <translation>清CACHE</translation>
    </message>
    <message>
        <source>运行</source>
        <translation>运行</translation>
    </message>
    <message>
        <source>数据读取</source>
        <translation>数据读取</translation>
    </message>
    <message>
        <source>地址 0x</source>
        <translation>地址 0x</translation>
    </message>
    <message>
        <source>长度 0x</source>
        <translation>长度 0x</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>读取</translation>
    </message>
    <message>
        <source>读取到文件</source>
        <translation>读取到文件</translation>
    </message>
    <message>
        <source>数据 0x</source>
        <translation>数据 0x</translation>
    </message>
    <message>
        <source>写入</source>
        <translation>写入</translation>
    </message>
    <message>
        <source>从文件写入</source>
        <translation>从文件写入</translation>
    </message>
    <message>
        <source>未停止</source>
        <translation>未停止</translation>
    </message>
    <message>
        <source>已停止 %1</source>
        <translation>已停止 %1</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>%1 / %2 bytes</source>
        <translation>%1 / %2 字节</translation>
    </message>
    <message>
        <source>蓝色样式(&amp;B)</source>
        <translation>蓝色样式(&amp;B)</translation>
    </message>
    <message>
        <source>黑色样式(&amp;L)</source>
        <translation>黑色样式(&amp;L)</translation>
    </message>
    <message>
        <source>银色样式(&amp;S)</source>
        <translation>银色样式(&amp;S)</translation>
    </message>
    <message>
        <source>水绿色样式(&amp;A)</source>
        <translation>水绿色样式(&amp;A)</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>新建(&amp;N)	Ctrl+N</source>
        <translation>新建(&amp;N)	Ctrl+N</translation>
    </message>
    <message>
        <source>打开(&amp;O)...	Ctrl+O</source>
        <translation>打开(&amp;O)...	Ctrl+O</translation>
    </message>
    <message>
        <source>关闭(&amp;C)</source>
        <translation>关闭(&amp;C)</translation>
    </message>
    <message>
        <source>保存(&amp;S)	Ctrl+S</source>
        <translation>保存(&amp;S)	Ctrl+S</translation>
    </message>
    <message>
        <source>另存为(&amp;A)...</source>
        <translation>另存为(&amp;A)...</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>退出(&amp;X)</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>撤消(&amp;U)	Ctrl+Z</source>
        <translation>撤消(&amp;U)	Ctrl+Z</translation>
    </message>
    <message>
        <source>剪切(&amp;T)	Ctrl+X</source>
        <translation>剪切(&amp;T)	Ctrl+X</translation>
    </message>
    <message>
        <source>复制(&amp;C)	Ctrl+C</source>
        <translation>复制(&amp;C)	Ctrl+C</translation>
    </message>
    <message>
        <source>粘贴(&amp;P)	Ctrl+V</source>
        <translation>粘贴(&amp;P)	Ctrl+V</translation>
    </message>
    <message>
        <source>视图(&amp;V)</source>
        <translation>视图(&amp;V)</translation>
    </message>
    <message>
        <source>工具栏和停靠窗口(&amp;T)</source>
        <translation>工具栏和停靠窗口(&amp;T)</translation>
    </message>
    <message>
        <source>状态栏(&amp;S)</source>
        <translation>状态栏(&amp;S)</translation>
    </message>
    <message>
        <source>应用程序外观(&amp;A)</source>
        <translation>应用程序外观(&amp;A)</translation>
    </message>
    <message>
        <source>窗口(&amp;W)</source>
        <translation>窗口(&amp;W)</translation>
    </message>
    <message>
        <source>新建窗口(&amp;N)</source>
        <translation>新建窗口(&amp;N)</translation>
    </message>
    <message>
        <source>内存窗口(&amp;M)	Ctrl+M</source>
        <translation>内存窗口(&amp;M)	Ctrl+M</translation>
    </message>
    <message>
        <source>层叠(&amp;C)</source>
        <translation>层叠(&amp;C)</translation>
    </message>
    <message>
        <source>平铺(&amp;T)</source>
        <translation>平铺(&amp;T)</translation>
    </message>
    <message>
        <source>排列图标(&amp;A)</source>
        <translation>排列图标(&amp;A)</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>关于 Corvane(&amp;A)...</source>
        <translation>关于 Corvane(&amp;A)...</translation>
    </message>
    <message>
        <source>标准</source>
        <translation>标准</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>打印</translation>
    </message>
    <message>
        <source>自定义...</source>
        <translation>自定义...</translation>
    </message>
    <message>
        <source>关于Corvane...</source>
        <translation>关于Corvane...</translation>
    </message>
    <message>
        <source>读取会改变芯片状态：不读</source>
        <translation>读取会改变芯片状态：不读</translation>
    </message>
    <message>
        <source>SVD 无法读取，读取是否改变芯片状态未知：不读
%1</source>
        <translation>SVD 无法读取，读取是否改变芯片状态未知：不读
%1</translation>
    </message>
    <message>
        <source>读取失败</source>
        <translation>读取失败</translation>
    </message>
    <message>
        <source>读取中</source>
        <translation>读取中</translation>
    </message>
    <message>
        <source>寄存器</source>
        <translation>寄存器</translation>
    </message>
    <message>
        <source>未读取</source>
        <translation>未读取</translation>
    </message>
    <message>
        <source>读取于 %1</source>
        <translation>读取于 %1</translation>
    </message>
    <message>
        <source>载入自 %1
文件时间 %2</source>
        <translation>载入自 %1
文件时间 %2</translation>
    </message>
    <message>
        <source>已修改，未读取</source>
        <translation>已修改，未读取</translation>
    </message>
    <message>
        <source>
读取失败：显示的是旧值</source>
        <translation>
读取失败：显示的是旧值</translation>
    </message>
    <message>
        <source>
已修改，未写入；芯片上的值 %1</source>
        <translation>
已修改，未写入；芯片上的值 %1</translation>
    </message>
    <message>
        <source>
已修改，未写入；芯片上的值未读取</source>
        <translation>
已修改，未写入；芯片上的值未读取</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>偏移</translation>
    </message>
    <message>
        <source>Bits</source>
        <translation>位</translation>
    </message>
    <message>
        <source>Access</source>
        <translation>访问</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>复位值</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
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
        <source>只看变化</source>
        <translation>只看变化</translation>
    </message>
    <message>
        <source>比较</source>
        <translation>比较</translation>
    </message>
    <message>
        <source>与保存的数据比较</source>
        <translation>与保存的数据比较</translation>
    </message>
    <message>
        <source>与文件夹中的数据比较...</source>
        <translation>与文件夹中的数据比较...</translation>
    </message>
    <message>
        <source>与 %1 比较</source>
        <translation>与 %1 比较</translation>
    </message>
    <message>
        <source>结束比较</source>
        <translation>结束比较</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>选择数据文件夹</source>
        <translation>选择数据文件夹</translation>
    </message>
    <message>
        <source>导出寄存器</source>
        <translation>导出寄存器</translation>
    </message>
    <message>
        <source>CSV Files(*.csv)</source>
        <translation>CSV 文件(*.csv)</translation>
    </message>
    <message>
        <source>JSON Files(*.json)</source>
        <translation>JSON 文件(*.json)</translation>
    </message>
    <message>
        <source>not in file</source>
        <translation>不在文件中</translation>
    </message>
    <message>
        <source>寄存器读取</source>
        <translation>寄存器读取</translation>
    </message>
    <message>
        <source>寄存器写入</source>
        <translation>寄存器写入</translation>
    </message>
    <message>
        <source>导入数据</source>
        <translation>导入数据</translation>
    </message>
    <message>
        <source>保存数据</source>
        <translation>保存数据</translation>
    </message>
    <message>
        <source>绘图</source>
        <translation>绘图</translation>
    </message>
    <message>
        <source>复制数值</source>
        <translation>复制数值</translation>
    </message>
    <message>
        <source>复制地址</source>
        <translation>复制地址</translation>
    </message>
    <message>
        <source>读写控制</source>
        <translation>读写控制</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>%1 秒</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <source>全部</source>
        <translation>全部</translation>
    </message>
    <message>
        <source>保存 CSV</source>
        <translation>保存 CSV</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>保存曲线</source>
        <translation>保存曲线</translation>
    </message>
    <message>
        <source>各自坐标轴</source>
        <translation>各自坐标轴</translation>
    </message>
    <message>
        <source>归一化</source>
        <translation>归一化</translation>
    </message>
    <message>
        <source>归一化 (0–1)</source>
        <translation>归一化 (0–1)</translation>
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
