var count: Integer = 10;
  ratio: Float = 0.25;
  name: string = 'init';
  flag: Boolean = True;
begin
  PrintLn(count);
  PrintLn(ratio);
  PrintLn(name);
  PrintLn(flag);
  count := count + 1;
  PrintLn(count);
end.
